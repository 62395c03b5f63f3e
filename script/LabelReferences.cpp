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

namespace {

bool isWord(QStringView word, const char *spelling)
{
    return equalsWord(word, QLatin1StringView(spelling));
}

// The label named by the command that begins at the text's first word. Only a command's own
// operand counts: after goto or gosub the next word, after match or matchre the label before
// the trigger text. Echoed or sent text, trigger text and comments name no label.
void collectFromCommand(QStringView text, qsizetype offset, QList<LabelReference> &found)
{
    const QList<Word> words = wordsOf(text);
    qsizetype i = 0;
    while (i < words.size()) {
        QStringView word = words[i].text;
        while (word.startsWith(u'}') || word.startsWith(u'{')) // "}goto x", "{ goto x"
            word = word.sliced(1);
        if (word.isEmpty()) {
            ++i;
            continue;
        }
        if (namesLabel(word)) {
            if (i + 1 >= words.size())
                return;
            const Word &target = words[i + 1];
            if (target.text.contains(u'%') || target.text.contains(u'$')
                || (isWord(word, "gosub") && isWord(target.text, "clear")))
                return;
            found.append({offset + target.column, target.text.size()});
            return;
        }
        if (isWord(word, "if") || isWord(word, "elseif")) {
            const qsizetype from = words[i].column + words[i].text.size();
            const qsizetype then = thenAt(text.sliced(from));
            if (then < 0)
                return;
            ++i;
            while (i < words.size() && words[i].column <= from + then)
                ++i;
            continue;
        }
        if (isWord(word, "else")) {
            ++i;
            continue;
        }
        if (isWord(word, "action")) {
            // action [(class)] COMMAND[;COMMAND...] when PATTERN
            qsizetype end = i + 1;
            while (end < words.size() && !isWord(words[end].text, "when"))
                ++end;
            const qsizetype from = words[i].column + words[i].text.size();
            const qsizetype to = end < words.size() ? words[end].column : text.size();
            qsizetype start = from;
            for (qsizetype at = from; at <= to; ++at) {
                if (at == to || text[at] == u';') {
                    collectFromCommand(text.sliced(start, at - start), offset + start, found);
                    start = at + 1;
                }
            }
            return;
        }
        return;
    }
}

} // namespace

QList<LabelReference> labelReferences(QStringView line)
{
    QList<LabelReference> references;
    collectFromCommand(line, 0, references);
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
    // A brace or a "#" first would make the definition a block mark or a comment.
    if (name.isEmpty() || name.startsWith(u'{') || name.startsWith(u'}') || name.startsWith(u'#'))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u':' || c == u'%' || c == u'$' || c.isSpace() || !c.isPrint();
    });
}

} // namespace Korveth

namespace Korveth {

QString labelNameRule()
{
    return QStringLiteral("A label name has no blanks, control characters, colons, % or $, and "
                          "does not begin with {, } or #.");
}

} // namespace Korveth
