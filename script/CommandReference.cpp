#include "CommandReference.h"

#include "CommandVocabulary.h"
#include "ScriptLanguage.h"

#include <array>

namespace Korveth {

namespace {

constexpr std::array<QStringView, 2> counterVariableText{
    u"A numerical variable.",
    u"Multiple uses, used mainly for going through a sequence of rooms in hunting scripts.",
};
constexpr std::array<QStringView, 1> counterAddText{u"Increases the value of the counter by 1."};
constexpr std::array<QStringView, 1> counterSetText{u"Replaces the current counter value with #."};
constexpr std::array<QStringView, 1> echoText{
    u"Echos a string back to the text window. Used for debugging, credits, or selection menu's.",
};
constexpr std::array<QStringView, 2> exitText{
    u"Terminates the script",
    u"May have multiple exits in a program.",
};
constexpr std::array<QStringView, 1> gotoText{u"Jumps to the line label $"};
constexpr std::array<QStringView, 2> matchText{
    u"If $ is found in wizard text, this command goes to linelabel. 32 possible matches available "
    u"to use before a matchwait must be issued.",
    u"Used With: Matchwait",
};
constexpr std::array<QStringView, 1> matchwaitText{
    u"Forces the script engine to wait for a match to be found. The staple to all smart hunting "
    u"scripts, and along with match, the most powerful tool for scripting.",
};
constexpr std::array<QStringView, 1> moveText{
    u"Moves in the stated direction and waits for the room description before proceding. A "
    u"combination of put and nextroom.",
};
constexpr std::array<QStringView, 1> nextroomText{
    u"Waits for a room description. nearly useless with the implementation of the move command, "
    u"but its available to you, so its worth mentioning.",
};
constexpr std::array<QStringView, 1> putText{
    u"Sends $ to the game. If $ happens to be a command , your in luck.",
};
constexpr std::array<QStringView, 1> pauseText{
    u"Pauses for # seconds, will take decimals, though they seem not to matter below .5, it might "
    u"have to do with your connection speed.",
};
constexpr std::array<QStringView, 2> saveText{
    u"Replaces the contents of the save variable with $.",
    u"NOTE: If $ is a space {typing save then presing the space bar twice}, it will cause the "
    u"wizard front end to do an illegal operation.",
};
constexpr std::array<QStringView, 1> saveVariableText{
    u"A string variable. Be careful with this one, the fact that it can be both a string or a "
    u"mumeric variable can get you into trouble.",
};
constexpr std::array<QStringView, 1> shiftText{
    u"Shifts the command line variables over 1. %1 becomes %2, %2 becomes %3, etc. Used for going "
    u"through all the command line variables with fewer code.",
};
constexpr std::array<QStringView, 1> waitText{
    u"Waits for the command prompt. Used after a command so that you will not get a type ahead "
    u"line error. If the command prompt is already issued to you, someone moving into the room, or "
    u"pressing enter will trigger it. you can also get this effect by placing 2 waits in a row "
    u"after a command. this could prove useful in certain circumstances.",
};
constexpr std::array<QStringView, 1> waitforText{
    u"A combination of match and wait. It acts like a wait, though only goes on if it matches $. "
    u"More reliable then wait, especially when actions do not give up the command prompt.",
};

struct Row
{
    QLatin1StringView word; // a word of the vocabulary
    QStringView title;
    QStringView syntax;
    std::span<const QStringView> textLines;
};

using L = QLatin1StringView;

// In the order the lookup tries their keys.
const std::array<Row, 17> rows{{
    {L("%c"), u"counter variable", u"{%c}", counterVariableText},
    {L("counter add"), u"counter add", u"{counter add}", counterAddText},
    {L("counter set"), u"counter set", u"{counter set #}", counterSetText},
    {L("echo"), u"echo", u"{echo $}", echoText},
    {L("exit"), u"exit", u"{exit}", exitText},
    {L("goto"), u"goto", u"{goto $}", gotoText},
    {L("match"), u"match", u"{match linelabel $}", matchText},
    {L("matchwait"), u"matchwait", u"{matchwait}", matchwaitText},
    {L("move"), u"move", u"{move [direction]}", moveText},
    {L("nextroom"), u"nextroom", u"{nextroom}", nextroomText},
    {L("put"), u"put", u"{put $}", putText},
    {L("pause"), u"pause", u"{pause #}", pauseText},
    {L("save"), u"save", u"{save $}", saveText},
    {L("%s"), u"save variable", u"{%s}", saveVariableText},
    {L("shift"), u"shift", u"{shift}", shiftText},
    {L("wait"), u"wait", u"{wait}", waitText},
    {L("waitfor"), u"waitfor", u"{waitfor $}", waitforText},
}};

// The entries with their keys: the vocabulary words, upper-cased as the lookup compares.
struct Entries
{
    std::array<QString, rows.size()> keys;
    std::array<ReferenceEntry, rows.size()> entries;

    Entries()
    {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Q_ASSERT(vocabularyWord(QString(rows[i].word)));
            keys[i] = QString(rows[i].word).toUpper();
            entries[i] = {keys[i], rows[i].title, rows[i].syntax, rows[i].textLines};
        }
    }
};

const Entries &allEntries()
{
    static const Entries built;
    return built;
}

QStringView trimmedSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

std::span<const ReferenceEntry> commandReference()
{
    return allEntries().entries;
}

ReferenceLookup lookupReference(QStringView selection)
{
    ReferenceLookup result;
    const QString upper = upperCased(selection);
    if (upper.isEmpty())
        return result;
    const QStringView key = trimmedSpaces(upper);
    result.selection = selection.toString();
    for (const ReferenceEntry &entry : allEntries().entries) {
        if (entry.key == key) {
            result.outcome = ReferenceLookup::Outcome::Found;
            result.entry = &entry;
            return result;
        }
    }
    result.outcome = ReferenceLookup::Outcome::NotFound;
    return result;
}

} // namespace Korveth
