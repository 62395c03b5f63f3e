#include "ModernWords.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace Korveth {

namespace {

using L = QLatin1StringView;

// clang-format off
const ModernWordEntry entries[] = {
    {L("var"), ModernWord::Simple, u"Variable Command recognised.", true},
    {L("setvariable"), ModernWord::Simple, u"Variable Command recognised.", true},
    {L("setvar"), ModernWord::Simple, u"Variable Command recognised.", true},
    {L("unvar"), ModernWord::Simple, u"Variable Command recognised.", true},
    {L("deletevariable"), ModernWord::Simple, u"Variable Command recognised.", true},
    {L("return"), ModernWord::Simple, u"Return Command recognised.", true},
    {L("waitforre"), ModernWord::Simple, u"Waitforre Command recognised.", true},
    {L("waiteval"), ModernWord::Simple, u"Waiteval Command recognised.", false},
    {L("send"), ModernWord::Simple, u"Send Command recognised.", true},
    {L("eval"), ModernWord::Simple, u"Eval Command recognised.", true},
    {L("evalmath"), ModernWord::Simple, u"Evalmath Command recognised.", true},
    {L("math"), ModernWord::Simple, u"Math Command recognised.", true},
    {L("timer"), ModernWord::Simple, u"Timer Command recognised.", true},
    {L("random"), ModernWord::Simple, u"Random Command recognised.", false},
    {L("delay"), ModernWord::Simple, u"Delay Command recognised.", true},
    {L("debug"), ModernWord::Simple, u"Debug Command recognised.", false},
    {L("debuglevel"), ModernWord::Simple, u"Debug Command recognised.", false},
    {L("js"), ModernWord::Simple, u"Js Command recognised.", false},
    {L("jscall"), ModernWord::Simple, u"Js Command recognised.", false},
    {L("nextroom"), ModernWord::Simple, u"Nextroom Command recognised.", false},
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

const std::array<std::uint64_t, std::size(entries)> &entryKeys()
{
    static const auto keys = [] {
        std::array<std::uint64_t, std::size(entries)> k{};
        for (std::size_t i = 0; i < k.size(); ++i)
            k[i] = headKey(entries[i].spelling.data(), entries[i].spelling.size());
        return k;
    }();
    return keys;
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
    const auto &keys = entryKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QLatin1StringView spelling = entries[i].spelling;
        if (keys[i] == key && spelling.size() == word.size()
            && (word.size() <= 8
                || std::memcmp(spelling.data() + 8, lower + 8, std::size_t(word.size() - 8)) == 0))
            return &entries[i];
    }
    return nullptr;
}

} // namespace Korveth
