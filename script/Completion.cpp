#include "Completion.h"

#include "CommandVocabulary.h"
#include "ModernWords.h"

#include <algorithm>

namespace Korveth {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

CompletionPlace completionPlace(QStringView line, qsizetype column)
{
    column = qBound<qsizetype>(0, column, line.size());
    qsizetype start = column;
    while (start > 0 && !isBlank(line[start - 1]))
        --start;
    // The words before the one being typed.
    qsizetype before = start;
    while (before > 0 && isBlank(line[before - 1]))
        --before;
    if (before == 0)
        return {CompletionPlace::Command, start};
    qsizetype previous = before;
    while (previous > 0 && !isBlank(line[previous - 1]))
        --previous;
    QStringView word = line.sliced(previous, before - previous);
    if (word.startsWith(u'}'))
        word = word.sliced(1);
    for (const auto spelling : {"goto", "gosub", "match", "matchre"}) {
        if (equalsWord(word, QLatin1StringView(spelling)))
            return {CompletionPlace::Label, start};
    }
    return {CompletionPlace::Nothing, start};
}

namespace {

QStringList wordsOfDialect(Dialect dialect)
{
    QStringList words;
    for (const VocabularyWord &word : vocabulary()) {
        if (word.command && *word.command != CommandWord::IfDigit)
            words.append(QString(word.spelling));
    }
    if (dialect == Dialect::Modern) {
        for (const ModernWordEntry &entry : modernWords()) {
            if (entry.word != ModernWord::OpenBrace && entry.word != ModernWord::CloseBrace)
                words.append(QString(entry.spelling));
        }
    }
    return sortedForCompletion(words);
}

} // namespace

const QStringList &commandWords(Dialect dialect)
{
    // Asked on every key of a line's first word: made once.
    static const QStringList classic = wordsOfDialect(Dialect::Classic);
    static const QStringList modern = wordsOfDialect(Dialect::Modern);
    return dialect == Dialect::Modern ? modern : classic;
}

QStringList sortedForCompletion(QStringList names)
{
    // Each name folded once: a comparison with letter case ignored folds both names at every step,
    // which made sorting a long script's 80,000 labels take 40 ms.
    std::vector<std::pair<QString, qsizetype>> keyed;
    keyed.reserve(std::size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i)
        keyed.emplace_back(names[i].toCaseFolded(), i);
    std::sort(keyed.begin(), keyed.end(), [&names](const auto &a, const auto &b) {
        const int c = a.first.compare(b.first);
        return c != 0 ? c < 0 : names[a.second] < names[b.second];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i == 0 || keyed[i].first != keyed[i - 1].first)
            sorted.append(names[keyed[i].second]);
    }
    return sorted;
}

bool offersCompletion(const QStringList &sorted, QStringView typed)
{
    const auto first = std::lower_bound(
        sorted.cbegin(), sorted.cend(), typed, [](const QString &name, QStringView text) {
            return QStringView(name).compare(text, Qt::CaseInsensitive) < 0;
        });
    return first != sorted.cend() && first->startsWith(typed, Qt::CaseInsensitive);
}

} // namespace Korveth
