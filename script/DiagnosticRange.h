#pragma once

#include <QStringView>

#include <utility>

namespace Korveth {

// The part of a line a mistake is about, as a column and a length in UTF-16 units: the label of a
// goto that finds none, the name of a missing include, the then, the brace, or else the first
// word.
std::pair<qsizetype, qsizetype> diagnosticRange(QStringView line, QStringView message);

} // namespace Korveth
