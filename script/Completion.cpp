#include "Completion.h"

#include "CommandVocabulary.h"
#include "ModernWords.h"

#include <algorithm>
#include <numeric>

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
    return words;
}

} // namespace

const CompletionList &commandWords(Dialect dialect)
{
    // Asked on every key of a line's first word: made once.
    static const CompletionList classic(wordsOfDialect(Dialect::Classic));
    static const CompletionList modern(wordsOfDialect(Dialect::Modern));
    return dialect == Dialect::Modern ? modern : classic;
}

CompletionList::CompletionList(const QStringList &names)
    : CompletionList(names.size(), [&names](qsizetype i) { return QStringView(names[i]); })
{}

CompletionList::CompletionList(qsizetype count, const std::function<QStringView(qsizetype)> &nameAt)
{
    // Each name folded once, all into one buffer: a comparison with letter case ignored folds
    // both names at every step, which made sorting a long script's 80,000 labels take 40 ms, and
    // a folded string each took more than the list itself.
    QString folded;
    std::vector<std::uint32_t> foldedStarts;
    foldedStarts.reserve(std::size_t(count) + 1);
    for (qsizetype i = 0; i < count; ++i) {
        foldedStarts.push_back(std::uint32_t(folded.size()));
        folded += nameAt(i).toString().toCaseFolded();
    }
    foldedStarts.push_back(std::uint32_t(folded.size()));
    const auto foldedAt = [&](std::uint32_t i) {
        return QStringView(folded).sliced(foldedStarts[i], foldedStarts[i + 1] - foldedStarts[i]);
    };
    std::vector<std::uint32_t> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0U);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = foldedAt(a).compare(foldedAt(b));
        return c != 0 ? c < 0 : nameAt(a).compare(nameAt(b)) < 0;
    });
    m_starts.reserve(count);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && foldedAt(order[i]) == foldedAt(order[i - 1]))
            continue;
        if (!m_joined.isEmpty())
            m_joined += ' ';
        m_starts.append(std::uint32_t(m_joined.size()));
        m_joined += nameAt(order[i]).toUtf8();
    }
    m_joined.squeeze();
    m_starts.squeeze();
}

CompletionList labelCompletions(const LabelList &defined, const QStringList &included)
{
    return CompletionList(defined.size() + included.size(), [&](qsizetype i) -> QStringView {
        return i < defined.size() ? defined.name(i) : included[i - defined.size()];
    });
}

QByteArrayView CompletionList::utf8At(qsizetype i) const
{
    const qsizetype start = m_starts[i];
    const qsizetype end = i + 1 < size() ? qsizetype(m_starts[i + 1]) - 1 : m_joined.size();
    return QByteArrayView(m_joined).sliced(start, end - start);
}

QStringList CompletionList::names() const
{
    QStringList all;
    all.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        all.append(at(i));
    return all;
}

bool CompletionList::offers(QStringView typed) const
{
    qsizetype low = 0;
    qsizetype high = size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (at(middle).compare(typed, Qt::CaseInsensitive) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low < size() && at(low).startsWith(typed, Qt::CaseInsensitive);
}

} // namespace Korveth
