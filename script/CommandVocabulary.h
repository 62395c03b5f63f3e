#pragma once

#include <QLatin1StringView>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

// The words of the script language, written once: the checker's command words, the editor's
// colouring vocabulary and the command reference's keys all come from this table.
namespace Korveth {

// The command words the checker knows.
enum class CommandWord {
    Counter,
    Echo,
    Exit,
    Goto,
    IfDigit, // if_0 .. if_9
    IfUnderscore,
    If,
    Match,
    Matchwait,
    Move,
    Pause,
    Put,
    Save,
    Shift,
    Wait,
    Waitfor,
};

// How the editor colours a word; Plain words are not coloured.
enum class Colouring { Keyword, Operator, Plain };

struct VocabularyWord
{
    QLatin1StringView spelling; // lower case, as players write it
    Colouring colouring;
    std::optional<CommandWord> command; // what the checker takes the word for
};

// Every word, in the order of the colouring lists.
std::span<const VocabularyWord> vocabulary();

// The word of that spelling (letter case ignored), if the language has it.
const VocabularyWord *vocabularyWord(QStringView spelling);

// The colouring lists: keywords and operators in their fixed order.
QStringList colouringKeywords();
QStringList colouringOperators();

} // namespace Korveth
