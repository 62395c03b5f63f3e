#include "TextArena.h"

#include "TextLines.h"

#include <QStringDecoder>

namespace Korveth {

LineText::LineText(QByteArrayView utf8)
    : m_widened(utf8.size() + 1) // the decoder may ask for a unit more than it writes
{
    // Nearly every line is ASCII, a byte a character; past the first byte that is not, decoded.
    QChar *const out = m_widened.data();
    QChar *end = out + widenAscii(utf8, out);
    if (end - out < utf8.size()) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        end = decoder.appendToBuffer(end, utf8.sliced(end - out));
    }
    m_view = QStringView(out, end - out);
}

TextArena::Span TextArena::append(QStringView text)
{
    const Span span = Span::at(m_added.size(), Store::Added);
    m_added.append(text);
    m_added.append(u'\n');
    return span;
}

bool TextArena::adopt(const QString &text)
{
    if (held() != 0)
        return false;
    m_whole = text;
    return true;
}

} // namespace Korveth
