#include "CommandVocabulary.h"

#include <array>

namespace Korveth {

namespace {

using enum Colouring;
using W = CommandWord;
using L = QLatin1StringView;

// The colouring order is fixed (the digits of if_ are split around the other words); words the
// editor does not colour stand at the end.
constexpr std::array<VocabularyWord, 42> words{{
    {L("counter"), Keyword, W::Counter},
    {L("counter add"), Keyword, std::nullopt},
    {L("counter set"), Keyword, std::nullopt},
    {L("echo"), Keyword, W::Echo},
    {L("exit"), Keyword, W::Exit},
    {L("if_"), Keyword, W::IfUnderscore},
    {L("if_0"), Keyword, W::IfDigit},
    {L("goto"), Keyword, W::Goto},
    {L("labelerror:"), Keyword, std::nullopt},
    {L("match"), Keyword, W::Match},
    {L("matchwait"), Keyword, W::Matchwait},
    {L("move"), Keyword, W::Move},
    {L("nextroom"), Keyword, std::nullopt},
    {L("pause"), Keyword, W::Pause},
    {L("put"), Keyword, W::Put},
    {L("save"), Keyword, W::Save},
    {L("shift"), Keyword, W::Shift},
    {L("wait"), Keyword, W::Wait},
    {L("waitfor"), Keyword, W::Waitfor},
    {L("if_1"), Keyword, W::IfDigit},
    {L("if_2"), Keyword, W::IfDigit},
    {L("if_3"), Keyword, W::IfDigit},
    {L("if_4"), Keyword, W::IfDigit},
    {L("if_5"), Keyword, W::IfDigit},
    {L("if_6"), Keyword, W::IfDigit},
    {L("if_7"), Keyword, W::IfDigit},
    {L("if_8"), Keyword, W::IfDigit},
    {L("if_9"), Keyword, W::IfDigit},
    {L("%"), Operator, std::nullopt},
    {L("%0"), Operator, std::nullopt},
    {L("%1"), Operator, std::nullopt},
    {L("%2"), Operator, std::nullopt},
    {L("%3"), Operator, std::nullopt},
    {L("%4"), Operator, std::nullopt},
    {L("%5"), Operator, std::nullopt},
    {L("%6"), Operator, std::nullopt},
    {L("%7"), Operator, std::nullopt},
    {L("%8"), Operator, std::nullopt},
    {L("%9"), Operator, std::nullopt},
    {L("%c"), Operator, std::nullopt},
    {L("%s"), Operator, std::nullopt},
    {L("if"), Plain, W::If},
}};

QStringList spellingsColouredAs(Colouring colouring)
{
    QStringList list;
    for (const VocabularyWord &word : words) {
        if (word.colouring == colouring)
            list.append(word.spelling);
    }
    return list;
}

} // namespace

std::span<const VocabularyWord> vocabulary()
{
    return words;
}

const VocabularyWord *vocabularyWord(QStringView spelling)
{
    for (const VocabularyWord &word : words) {
        if (spelling.compare(word.spelling, Qt::CaseInsensitive) == 0)
            return &word;
    }
    return nullptr;
}

QStringList colouringKeywords()
{
    return spellingsColouredAs(Keyword);
}

QStringList colouringOperators()
{
    return spellingsColouredAs(Operator);
}

} // namespace Korveth
