#include "Output.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Korveth {

void Output::write(QStringView text)
{
    // Three bytes at most for each UTF-16 unit.
    room(3 * text.size());
    m_used = m_encoder.appendToBuffer(m_buffer.data() + m_used, text) - m_buffer.constData();
    if (m_used > flushSize)
        flush();
}

void Output::write(QLatin1StringView text)
{
    room(text.size());
    std::memcpy(m_buffer.data() + m_used, text.data(), std::size_t(text.size()));
    m_used += text.size();
}

void Output::writeUtf8(QByteArrayView bytes)
{
    if (!m_stream || bytes.size() <= flushSize) {
        write(QLatin1StringView(bytes));
        return;
    }
    // Written where it lies, not copied into the buffer first.
    flush();
    errno = 0;
    if (m_failure.isEmpty()
        && std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), m_stream)
               != std::size_t(bytes.size()))
        noteFailure();
}

void Output::flush()
{
    if (!m_stream)
        return;
    if (m_used > 0 && m_failure.isEmpty()) {
        errno = 0;
        if (std::fwrite(m_buffer.constData(), 1, std::size_t(m_used), m_stream)
            != std::size_t(m_used))
            noteFailure();
    }
    m_used = 0;
}

QString Output::finish()
{
    flush();
    errno = 0;
    if (m_stream && m_failure.isEmpty() && (std::fflush(m_stream) != 0 || std::ferror(m_stream)))
        noteFailure();
    return m_failure;
}

void Output::room(qsizetype bytes)
{
    if (m_used + bytes <= m_buffer.size())
        return;
    if (!m_stream) {
        m_buffer.resize(std::max(2 * m_buffer.size(), m_used + bytes));
        return;
    }
    flush();
    if (bytes > m_buffer.size())
        m_buffer.resize(bytes);
}

void Output::noteFailure()
{
    m_failure = QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
}

} // namespace Korveth
