#include "TextArena.h"

#include "TextLines.h"

namespace Korveth {

LineText::LineText(QByteArrayView ascii)
    : m_widened(ascii.size())
{
    // The arena keeps only ASCII lines as bytes, so every byte is widened.
    m_view = QStringView(m_widened.data(), widenAscii(ascii, m_widened.data()));
}

TextArena::Span TextArena::append(QStringView text)
{
    const Span span = Span::at(m_added.size(), text.size(), Store::Added);
    m_added.append(text);
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
