#include "TextCounts.h"

namespace Korveth {

std::int32_t wordCount(QStringView text)
{
    if (text.isEmpty())
        return 0;
    return std::int32_t(text.count(u' ') + 1);
}

std::int32_t characterCount(QStringView text)
{
    return std::int32_t(text.size());
}

QString kilobytesText(std::int32_t characters)
{
    return QString::number(double(characters) / 1024.0, 'g', 15);
}

} // namespace Korveth
