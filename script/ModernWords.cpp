#include "ModernWords.h"

#include "ScriptLanguage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace Korveth {

namespace {

using L = QLatin1StringView;

// clang-format off
const ModernWordEntry entries[] = {
    {L("var"), ModernWord::Simple, VerdictKind::Variable, true},
    {L("setvariable"), ModernWord::Simple, VerdictKind::Variable, true},
    {L("setvar"), ModernWord::Simple, VerdictKind::Variable, true},
    {L("unvar"), ModernWord::Simple, VerdictKind::Variable, true},
    {L("deletevariable"), ModernWord::Simple, VerdictKind::Variable, true},
    {L("return"), ModernWord::Simple, VerdictKind::Return, true},
    {L("waitforre"), ModernWord::Simple, VerdictKind::Waitforre, true},
    {L("waiteval"), ModernWord::Simple, VerdictKind::Waiteval, false},
    {L("send"), ModernWord::Simple, VerdictKind::Send, true},
    {L("eval"), ModernWord::Simple, VerdictKind::Eval, true},
    {L("evalmath"), ModernWord::Simple, VerdictKind::Evalmath, true},
    {L("math"), ModernWord::Simple, VerdictKind::Math, true},
    {L("timer"), ModernWord::Simple, VerdictKind::Timer, true},
    {L("random"), ModernWord::Simple, VerdictKind::Random, false},
    {L("delay"), ModernWord::Simple, VerdictKind::Delay, true},
    {L("debug"), ModernWord::Simple, VerdictKind::Debug, false},
    {L("debuglevel"), ModernWord::Simple, VerdictKind::Debug, false},
    {L("js"), ModernWord::Simple, VerdictKind::Js, false},
    {L("jscall"), ModernWord::Simple, VerdictKind::Js, false},
    {L("nextroom"), ModernWord::Simple, VerdictKind::Nextroom, false},
    {L("if"), ModernWord::If, {}, false}, // modern only with a then
    {L("elseif"), ModernWord::Elseif, {}, true},
    {L("else"), ModernWord::Else, {}, true},
    {L("gosub"), ModernWord::Gosub, {}, true},
    {L("goto"), ModernWord::Goto, {}, false},
    {L("match"), ModernWord::Match, {}, false},
    {L("matchre"), ModernWord::Matchre, {}, true},
    {L("matchwait"), ModernWord::Matchwait, {}, false},
    {L("action"), ModernWord::Action, {}, true},
    {L("include"), ModernWord::Include, {}, true},
    {L("{"), ModernWord::OpenBrace, {}, true},
    {L("}"), ModernWord::CloseBrace, {}, true},
};
// clang-format on

constexpr qsizetype longestSpelling = 14;

// Up to the first eight lower-case letters in one number, so that most words are told apart by
// comparing integers.
std::uint64_t headKey(const char *lower, qsizetype size)
{
    std::uint64_t key = 0;
    std::memcpy(&key, lower, std::size_t(qMin<qsizetype>(size, 8)));
    return key;
}

struct KeyedEntry
{
    std::uint64_t key;
    const ModernWordEntry *entry;
};

// The entries by the length of their spelling, each with its key.
const std::array<std::vector<KeyedEntry>, longestSpelling + 1> &entriesByLength()
{
    static const auto byLength = [] {
        std::array<std::vector<KeyedEntry>, longestSpelling + 1> lists;
        for (const ModernWordEntry &entry : entries) {
            lists[std::size_t(entry.spelling.size())].push_back(
                {headKey(entry.spelling.data(), entry.spelling.size()), &entry});
        }
        return lists;
    }();
    return byLength;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::span<const ModernWordEntry> modernWords()
{
    return entries;
}

bool equalsWord(QStringView word, QLatin1StringView lower)
{
    if (word.size() != lower.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        char16_t c = word[i].unicode();
        if (c >= 0x80)
            return word.compare(lower, Qt::CaseInsensitive) == 0;
        if (c >= u'A' && c <= u'Z')
            c = c - u'A' + u'a';
        if (c != char16_t(lower[i].unicode()))
            return false;
    }
    return true;
}

const ModernWordEntry *modernWordOf(QStringView word)
{
    if (word.isEmpty() || word.size() > longestSpelling)
        return nullptr;
    // Lower-cased once, then compared as bytes: this runs for every line of a script.
    char lower[longestSpelling];
    for (qsizetype i = 0; i < word.size(); ++i) {
        char16_t c = word[i].unicode();
        if (c >= 0x80) {
            for (const ModernWordEntry &entry : entries) {
                if (equalsWord(word, entry.spelling))
                    return &entry;
            }
            return nullptr;
        }
        if (c >= u'A' && c <= u'Z')
            c = c - u'A' + u'a';
        lower[i] = char(c);
    }
    const std::uint64_t key = headKey(lower, word.size());
    for (const KeyedEntry &candidate : entriesByLength()[std::size_t(word.size())]) {
        if (candidate.key == key
            && (word.size() <= 8
                || std::memcmp(candidate.entry->spelling.data() + 8,
                               lower + 8,
                               std::size_t(word.size() - 8))
                       == 0))
            return candidate.entry;
    }
    return nullptr;
}

// The first word, cut at a blank or tab, and what follows it, trimmed.
std::pair<QStringView, QStringView> firstWordAndRest(QStringView line)
{
    if (line.startsWith(QChar(0xFEFF))) // a byte-order mark left inside the text
        line = line.sliced(1);
    qsizetype end = 0;
    while (end < line.size() && !isSpace(line[end]))
        ++end;
    return {line.first(end), trimmedView(line.sliced(end))};
}

// Where "then" stands as a word: after a blank or ")" and before a blank, "{" or the end.
qsizetype thenAt(QStringView line)
{
    for (qsizetype at = line.indexOf(u"then", 0, Qt::CaseInsensitive); at >= 0;
         at = line.indexOf(u"then", at + 1, Qt::CaseInsensitive)) {
        const bool startsWord = at == 0 || isSpace(line[at - 1]) || line[at - 1] == u')';
        const bool endsWord
            = at + 4 == line.size() || isSpace(line[at + 4]) || line[at + 4] == u'{';
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

// A block starts with a "{" of its own, or one closing an if (if_N too, with its then), elseif
// or else line (after a "}" too); a brace at the end of other text, an echo's say, is text.
bool opensBlock(QStringView line)
{
    if (!line.endsWith(u'{'))
        return false;
    if (line == u"{" || line.startsWith(u'}'))
        return true;
    const QStringView first = firstWordAndRest(line).first;
    const ModernWordEntry *word = modernWordOf(first);
    if (!word)
        return commandWordOf(first) == CommandWord::IfDigit && thenAt(line) >= 0;
    return word->word == ModernWord::If || word->word == ModernWord::Elseif
           || word->word == ModernWord::Else;
}

// The name a label line "NAME:" defines; empty for any other line.
QStringView labelDefinedBy(QStringView line)
{
    if (line.size() < 2 || !line.endsWith(u':'))
        return {};
    const QStringView name = line.first(line.size() - 1);
    if (std::any_of(name.begin(), name.end(), isSpace))
        return {};
    return name;
}

} // namespace Korveth
