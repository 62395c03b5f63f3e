#include "NameCounts.h"

#include "ScriptLanguage.h"

namespace Korveth {

bool NameCounts::Packed::fits(QStringView name)
{
    return name.size() <= mostPacked && isAscii(name);
}

NameCounts::Packed NameCounts::Packed::of(QStringView name)
{
    Packed key;
    for (qsizetype i = 0; i < name.size(); ++i) {
        std::uint64_t &half = i < 8 ? key.high : key.low;
        half = (half << 7) | name[i].unicode();
    }
    key.high |= std::uint64_t(name.size()) << 56;
    return key;
}

QStringView NameCounts::Packed::unpack(char16_t (&name)[mostPacked]) const
{
    const auto length = qsizetype(high >> 56);
    const qsizetype inHigh = qMin<qsizetype>(length, 8);
    for (qsizetype i = 0; i < inHigh; ++i)
        name[i] = char16_t((high >> (7 * (inHigh - 1 - i))) & 0x7f);
    for (qsizetype i = 8; i < length; ++i)
        name[i] = char16_t((low >> (7 * (length - 1 - i))) & 0x7f);
    return QStringView(name, length);
}

int &NameCounts::operator[](QStringView upper)
{
    if (Packed::fits(upper))
        return m_packed[Packed::of(upper)];
    return m_other[upper.toString()];
}

int NameCounts::value(QStringView upper) const
{
    if (Packed::fits(upper))
        return m_packed.value(Packed::of(upper));
    return m_other.value(upper.toString());
}

void NameCounts::remove(QStringView upper)
{
    if (Packed::fits(upper))
        m_packed.remove(Packed::of(upper));
    else
        m_other.remove(upper.toString());
}

void NameCounts::clear()
{
    m_packed.clear();
    m_other.clear();
}

} // namespace Korveth
