#include "LabelReferences.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"

#include <algorithm>
#include <optional>

namespace Korveth {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

struct Word
{
    qsizetype column;
    QStringView text;
};

QList<Word> wordsOf(QStringView line)
{
    QList<Word> words;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        if (i > start)
            words.append({start, line.sliced(start, i - start)});
    }
    return words;
}

bool namesLabel(QStringView word)
{
    for (const auto spelling : {"goto", "gosub", "match", "matchre"}) {
        if (equalsWord(word, QLatin1StringView(spelling)))
            return true;
    }
    return false;
}

} // namespace

QList<LabelReference> labelReferences(QStringView line)
{
    QList<LabelReference> references;
    const QList<Word> words = wordsOf(line);
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        QStringView word = words[i].text;
        if (word.startsWith(u'}')) // "}goto x" once the block end is taken off
            word = word.sliced(1);
        if (!namesLabel(word))
            continue;
        const Word &target = words[i + 1];
        if (target.text.contains(u'%') || target.text.contains(u'$')
            || (equalsWord(word, QLatin1StringView("gosub"))
                && equalsWord(target.text, QLatin1StringView("clear"))))
            continue;
        references.append({target.column, target.text.size()});
        ++i;
    }
    return references;
}

std::optional<LabelReference> labelDefinition(QStringView line)
{
    const QStringView trimmed = trimmedView(line);
    const QStringView name = labelDefinedBy(trimmed);
    if (name.isEmpty())
        return std::nullopt;
    return LabelReference{leadingBlankCount(line), name.size()};
}

bool isValidLabelName(QStringView name)
{
    return !name.isEmpty() && !name.endsWith(u':') && !name.contains(u'%') && !name.contains(u'$')
           && std::none_of(name.begin(), name.end(), [](QChar c) {
                  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
              });
}

} // namespace Korveth
