#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace Korveth {

// A label named on a line: the operand of a goto, gosub, match or matchre command, where a command
// stands (first on the line, after then or else, among an action's commands); never a word of
// echoed or sent text, trigger text or a comment.
struct LabelReference
{
    qsizetype column = 0; // in UTF-16 units from the start of the line
    qsizetype length = 0;
};

// Every label reference on a line; names given by a variable (% or $) are none.
QList<LabelReference> labelReferences(QStringView line);

// The label a line "NAME:" defines, wherever the line is indented: its column and length.
std::optional<LabelReference> labelDefinition(QStringView line);

// A name a label can be renamed to: not empty; no blanks, control characters, colons, % or $;
// no brace or "#" first.
bool isValidLabelName(QStringView name);
// What a label name may be, told when a name is refused.
QString labelNameRule();

} // namespace Korveth
