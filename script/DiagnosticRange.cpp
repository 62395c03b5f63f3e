#include "DiagnosticRange.h"

#include "LabelReferences.h"
#include "ModernWords.h"
#include "ScriptLanguage.h"

namespace Korveth {

std::pair<qsizetype, qsizetype> diagnosticRange(QStringView line, QStringView message)
{
    const qsizetype lead = leadingBlankCount(line);
    const QStringView trimmed = trimmedView(line);
    const auto [word, rest] = firstWordAndRest(trimmed);
    const std::pair<qsizetype, qsizetype> firstWord{lead + (word.data() - trimmed.data()),
                                                    qMax<qsizetype>(1, word.size())};
    if (message.endsWith(u"Label not found.")) {
        const QList<LabelReference> references = labelReferences(line);
        if (!references.isEmpty())
            return {references.first().column, references.first().length};
        return firstWord;
    }
    if (message.endsWith(u"File not found.") && !rest.isEmpty())
        return {lead + (rest.data() - trimmed.data()), rest.size()};
    if (message.startsWith(u"Then has no command")) {
        const qsizetype then = thenAt(trimmed);
        if (then >= 0)
            return {lead + then, 4};
    }
    if (message == u"Block end without a block start.")
        return {lead, 1};
    if (message == u"Block start never closed.")
        return {lead + trimmed.size() - 1, 1};
    return firstWord;
}

} // namespace Korveth
