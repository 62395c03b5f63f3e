#include "StandingText.h"

namespace Korveth {

void StandingText::standing(QByteArrayView bytes)
{
    const QMutexLocker lock(&m_lock);
    m_standing = true;
    m_bytes = bytes;
    m_copy.reset();
}

void StandingText::changing()
{
    const QMutexLocker lock(&m_lock);
    if (!m_standing)
        return;
    m_standing = false;
    if (m_read)
        m_copy = m_bytes.toByteArray();
    m_bytes = {};
}

std::optional<QByteArray> StandingText::read() const
{
    const QMutexLocker lock(&m_lock);
    m_read = true;
    if (m_standing)
        return m_bytes.toByteArray(); // the bytes may change once the lock is let go
    return m_copy;
}

} // namespace Korveth
