#include "SharedText.h"

#include <cstring>

namespace Korveth {

void SharedText::replace(qsizetype from, qsizetype removed, QByteArrayView inserted)
{
    const QMutexLocker lock(&m_lock);
    const qsizetype size = m_bytes.size();
    const qsizetype after = size - from - removed; // the bytes that move
    const qsizetype grown = size - removed + inserted.size();
    // QByteArray's own insert moves a long text into a new block beside the old one; grown in
    // place (the system moves a large block's pages rather than copying them) and moved here,
    // the text is held once. Room to spare keeps typing from growing it at every key.
    if (grown > m_bytes.capacity())
        m_bytes.reserve(grown + grown / 64 + 4096);
    if (grown > size)
        m_bytes.resize(grown);
    char *data = m_bytes.data(); // copied first only while another thread holds the text
    std::memmove(data + from + inserted.size(), data + from + removed, std::size_t(after));
    if (!inserted.isEmpty())
        std::memcpy(data + from, inserted.data(), std::size_t(inserted.size()));
    if (grown < size)
        m_bytes.resize(grown);
}

} // namespace Korveth
