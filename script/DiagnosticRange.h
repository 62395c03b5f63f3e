#pragma once

#include "Verdict.h"

#include <QStringView>

#include <utility>

namespace Korveth {

// Where a part of a line stands, as a column and a length in UTF-16 units; the first word when the
// line lacks that part.
std::pair<qsizetype, qsizetype> diagnosticRange(QStringView line, LinePart part);

} // namespace Korveth
