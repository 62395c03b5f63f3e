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

namespace {

// Letter case ignored, as offers() compares: ASCII folded here, which is nearly every label; the
// rest from the first other character on by Qt. Folding each name once into a buffer made sorting
// 80,000 labels fast too, but the buffer was the largest thing a script's first check held.
int compareIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80)
            return a.sliced(i).compare(b.sliced(i), Qt::CaseInsensitive);
        x += (x >= u'A' && x <= u'Z') ? 32 : 0;
        y += (y >= u'A' && y <= u'Z') ? 32 : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

CompletionList::CompletionList(qsizetype count, const std::function<QStringView(qsizetype)> &nameAt)
{
    std::vector<std::uint32_t> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0U);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = compareIgnoringCase(nameAt(a), nameAt(b));
        return c != 0 ? c < 0 : nameAt(a).compare(nameAt(b)) < 0;
    });
    // Sized once: a buffer grown by doubling holds its old block and its new one at once.
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < count; ++i)
        bytes += nameAt(i).size() + 1;
    m_joined.reserve(bytes);
    m_starts.reserve(count);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compareIgnoringCase(nameAt(order[i]), nameAt(order[i - 1])) == 0)
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
