#include "TextArena.h"

namespace Korveth {

TextArena::Span TextArena::append(QStringView text)
{
    const Span span{std::uint32_t(m_added.size()), std::uint32_t(text.size()), 1};
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
