#pragma once

#include "ModernChecker.h"

#include <QStringList>
#include <QStringView>

namespace Korveth {

// What may be typed at a place in a line.
struct CompletionPlace
{
    enum Kind { Nothing, Command, Label } kind = Nothing;
    qsizetype wordStart = 0; // where the word being typed starts (UTF-16 units)
};

// A command while the line's first word is typed; a label after goto, gosub, match or matchre.
CompletionPlace completionPlace(QStringView line, qsizetype column);

// The first words of the dialect, sorted, letter case ignored; "if_" and its digits once.
const QStringList &commandWords(Dialect dialect);

// The names sorted as the completion list shows them: letter case ignored, each once.
QStringList sortedForCompletion(QStringList names);

// Whether a name of a list sorted that way starts with the text, letter case ignored: the list
// is only worth showing then. A binary search, as a script may have 80,000 labels.
bool offersCompletion(const QStringList &sorted, QStringView typed);

} // namespace Korveth
