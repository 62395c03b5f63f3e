#pragma once

#include "Verdict.h"

#include <QLatin1StringView>
#include <QStringView>

#include <span>
#include <utility>

namespace Korveth {

// The first words the modern dialect knows beyond the classic ones, and what each one is.
enum class ModernWord {
    Other,  // not a modern word (perhaps a classic one)
    Simple, // accepted as it stands, whatever follows
    If,
    Elseif,
    Else,
    Gosub,
    Goto,
    Match,
    Matchre,
    Matchwait,
    Action,
    Include,
    OpenBrace,
    CloseBrace,
};

struct ModernWordEntry
{
    QLatin1StringView spelling; // lower case
    ModernWord word;
    VerdictKind verdict; // of a Simple word
    bool modernOnly;     // a script that uses it is written in the modern dialect
};

// Every entry, in a fixed order; completion lists come from here too.
std::span<const ModernWordEntry> modernWords();

// The entry of a first word, letter case ignored (ASCII directly, anything else by Qt's case
// folding); nothing when it is no modern word.
const ModernWordEntry *modernWordOf(QStringView word);

// The line model of the modern dialect, on trimmed lines.

// The first word, cut at a blank or tab, and what follows it, trimmed.
std::pair<QStringView, QStringView> firstWordAndRest(QStringView line);

// Where "then" stands as a word in the line; -1 when it does not.
qsizetype thenAt(QStringView line);

// True when the line opens a block.
bool opensBlock(QStringView line);

// The name a label line "NAME:" defines; empty for any other line.
QStringView labelDefinedBy(QStringView line);

// The word equals the lower-case ASCII one, letter case ignored as modernWordOf ignores it.
bool equalsWord(QStringView word, QLatin1StringView lower);

} // namespace Korveth
