#pragma once

#include "CommandVocabulary.h"
#include "TextLines.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The line model of the script language: trimming, words, kinds of line and the two ways a text
// is cut into lines.
namespace Korveth {

// Removes leading and trailing spaces and tabs (nothing else) from tmpString and returns the
// result, which is also left in the argument.
QString Trimmer(QString &tmpString);

// The same trim as a view into the original text; no allocation.
QStringView trimmedView(QStringView line);
// The same on UTF-8 bytes (blanks are ASCII, so the trim is the same).
QByteArrayView trimmedView(QByteArrayView line);

// Number of spaces and tabs that trimming removes from the start of the line.
qsizetype leadingBlankCount(QStringView line);

// The word of the given index (0 = command word) when the line is cut at every single space;
// two spaces in a row give an empty word. A word the line lacks is empty.
QStringView wordAt(QStringView line, int index);

// Every word of the line, cut at every single space.
QList<QStringView> splitWords(QStringView line);

// True when a colon stands among the last two characters ("a:b", "start:") or the line is ":".
bool endsLikeLabel(QStringView trimmedLine);

// The command word equal to the given word (letter case ignored), if any.
std::optional<CommandWord> commandWordOf(QStringView word);

enum class LineKind { Empty, Command, Label, Comment, Other };

// The kind of a trimmed line, told apart in the order the checker applies.
LineKind lineKind(QStringView trimmedLine);

// True when every character (or byte) is ASCII.
bool isAscii(QStringView text);
bool isAscii(QByteArrayView utf8);

// Upper-cases like the checker compares: ASCII fast, full Unicode otherwise.
QString upperCased(QStringView text);

} // namespace Korveth
