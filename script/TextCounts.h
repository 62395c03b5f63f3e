#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Counting over a script's whole text (lines joined by CR LF), as the counting commands and the
// Script Properties window report it.
namespace Korveth {

// Pieces of the text cut at every single blank (nothing else separates words): 0 for an empty
// text, otherwise the number of blanks + 1.
std::int32_t wordCount(QStringView text);
// Characters of the text, each CR and each LF counting one.
std::int32_t characterCount(QStringView text);
// The character count in kilobytes (divided by 1024), up to 15 significant digits, no trailing
// zeros: "0.9765625" for 1000, "0" for none.
QString kilobytesText(std::int32_t characters);

} // namespace Korveth
