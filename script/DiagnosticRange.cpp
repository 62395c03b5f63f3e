#include "DiagnosticRange.h"

#include "LabelReferences.h"
#include "ModernWords.h"
#include "ScriptLanguage.h"

namespace Korveth {

std::pair<qsizetype, qsizetype> diagnosticRange(QStringView line, LinePart part)
{
    const qsizetype lead = leadingBlankCount(line);
    const QStringView trimmed = trimmedView(line);
    const auto [word, rest] = firstWordAndRest(trimmed);
    const std::pair<qsizetype, qsizetype> firstWord{lead + (word.data() - trimmed.data()),
                                                    qMax<qsizetype>(1, word.size())};
    switch (part) {
    case LinePart::FirstWord:
        break;
    case LinePart::LabelReference:
        if (const QList<LabelReference> references = labelReferences(line); !references.isEmpty())
            return {references.first().column, references.first().length};
        break;
    case LinePart::Argument:
        if (!rest.isEmpty())
            return {lead + (rest.data() - trimmed.data()), rest.size()};
        break;
    case LinePart::Then:
        if (const qsizetype then = thenAt(trimmed); then >= 0)
            return {lead + then, 4};
        break;
    case LinePart::AfterBrace:
        if (trimmed.startsWith(u'}')) {
            const QStringView after = trimmedView(trimmed.sliced(1));
            const QStringView next = firstWordAndRest(after).first;
            if (!next.isEmpty())
                return {lead + (next.data() - trimmed.data()), next.size()};
        }
        break;
    case LinePart::FirstCharacter:
        return {lead, 1};
    case LinePart::LastCharacter:
        return {lead + trimmed.size() - 1, 1};
    }
    return firstWord;
}

} // namespace Korveth
