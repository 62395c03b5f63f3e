#include "TextArena.h"

namespace Korveth {

LineText::LineText(QByteArrayView ascii)
    : m_widened(ascii.size())
{
    char16_t *out = m_widened.data();
    for (const char c : ascii)
        *out++ = char16_t(static_cast<unsigned char>(c));
    m_view = QStringView(m_widened.data(), m_widened.size());
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
