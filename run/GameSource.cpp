#include "GameSource.h"

#include "TextFile.h"
#include "TextLines.h"

#include <cstring>

namespace Korveth {

namespace {

// Where the first CR or LF is; -1 when there is none. Two searches the C library does many bytes
// at a time beat one that looks at each byte.
qsizetype lineEndIn(const char *data, qsizetype size)
{
    const auto *lf = static_cast<const char *>(std::memchr(data, '\n', std::size_t(size)));
    const qsizetype before = lf ? lf - data : size;
    const auto *cr = static_cast<const char *>(std::memchr(data, '\r', std::size_t(before)));
    return cr ? cr - data : lf ? before : -1;
}

// A line that is not ASCII: UTF-8 when it is, else Windows-1252. Never by a byte-order mark:
// bytes that look like one in mid-log are text of the line.
QString decodedLine(QByteArrayView bytes)
{
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return QString::fromUtf8(cp1252ToUtf8(bytes));
}

} // namespace

const GameLine *LineSource::next()
{
    if (m_next >= m_lines.size())
        return nullptr;
    ++m_lineNumber;
    m_line.setText(m_lines[m_next++]);
    return &m_line;
}

LogSource::LogSource(const QString &path)
    : m_file(path, QStringLiteral("a log"))
    , m_error(m_file.error())
{}

// Reads the next piece; false at the end of the file.
bool LogSource::fill()
{
    if (m_ended || !m_error.isEmpty())
        return false;
    constexpr qint64 piece = 64 * 1024;
    m_bytes.remove(0, m_at);
    m_at = 0;
    const qsizetype had = m_bytes.size();
    m_bytes.resize(had + piece);
    const qint64 got = m_file.read(m_bytes.data() + had, piece);
    m_bytes.resize(had + qMax<qint64>(got, 0));
    if (got <= 0) {
        m_error = m_file.error();
        m_ended = true;
        return false;
    }
    if (!m_started) {
        m_started = true;
        if (m_bytes.startsWith("\xFF\xFE") || m_bytes.startsWith("\xFE\xFF")) {
            m_utf16.emplace(m_bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                           : QStringDecoder::Utf16BE);
            m_bytes.remove(0, 2);
        } else if (m_bytes.startsWith("\xEF\xBB\xBF")) {
            m_bytes.remove(0, 3);
        }
    }
    if (m_utf16) {
        m_chars += m_utf16->decode(m_bytes);
        m_bytes.clear();
    }
    return true;
}

const GameLine *LogSource::nextUtf16()
{
    for (;;) {
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_chars.size(); ++i) {
            if (m_chars[i] == u'\r' || m_chars[i] == u'\n') {
                end = i;
                break;
            }
        }
        const bool more = end < 0 && m_chars.size() < maxLineBytes / 2 && fill();
        if (more)
            continue;
        if (end < 0 && m_chars.isEmpty())
            return nullptr;
        const qsizetype cut = end < 0 ? qMin(m_chars.size(), maxLineBytes / 2) : end;
        m_line.setText(QStringView(m_chars).first(cut));
        qsizetype skip = cut;
        if (end >= 0) {
            if (m_chars[end] == u'\r' && end + 1 >= m_chars.size())
                fill(); // a CR at the end of a piece: an LF may follow in the next
            skip += (m_chars[end] == u'\r' && end + 1 < m_chars.size() && m_chars[end + 1] == u'\n')
                        ? 2
                        : 1;
        }
        m_chars.remove(0, skip);
        ++m_lineNumber;
        return &m_line;
    }
}

const GameLine *LogSource::next()
{
    if (!m_started)
        fill();
    if (m_utf16)
        return nextUtf16();
    for (;;) {
        const char *data = m_bytes.constData() + m_at;
        const qsizetype available = m_bytes.size() - m_at;
        qsizetype end = lineEndIn(data, available);
        if (end < 0 && available < maxLineBytes && fill())
            continue;
        // A CR at the very end of what was read: an LF may follow in the next piece.
        if (end >= 0 && data[end] == '\r' && end + 1 >= available && fill())
            continue;
        if (end < 0 && available == 0)
            return nullptr;
        const qsizetype cut = end < 0 ? qMin(available, maxLineBytes) : end;
        const QByteArrayView bytes(data, cut);
        // Game text is nearly all ASCII: no decoding to choose for it.
        if (asciiPrefixLength(bytes) == cut)
            m_line.setAscii(bytes);
        else
            m_line.setText(decodedLine(bytes));
        qsizetype skip = cut;
        if (end >= 0)
            skip += (data[end] == '\r' && end + 1 < available && data[end + 1] == '\n') ? 2 : 1;
        m_at += skip;
        ++m_lineNumber;
        return &m_line;
    }
}

} // namespace Korveth
