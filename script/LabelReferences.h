#pragma once

#include <QList>
#include <QStringView>

#include <optional>

namespace Korveth {

// A label named on a line: the word after goto, gosub, match or matchre, wherever it stands
// (after then or else, inside an action too).
struct LabelReference
{
    qsizetype column = 0; // in UTF-16 units from the start of the line
    qsizetype length = 0;
};

// Every label reference on a line; names given by a variable (% or $) are none.
QList<LabelReference> labelReferences(QStringView line);

// The label a line "NAME:" defines, wherever the line is indented: its column and length.
std::optional<LabelReference> labelDefinition(QStringView line);

// A name a label can be renamed to: not empty, no blanks, no % or $, no colon at its end.
bool isValidLabelName(QStringView name);

} // namespace Korveth
