// The questions asked of a script model: its mistakes and where they stand, its labels and the
// references to them.
#include "ScriptModel.h"

#include "DiagnosticRange.h"
#include "ScriptLanguage.h"

#include <algorithm>

namespace Korveth {

QList<Diagnostic> ScriptModel::diagnostics(int line) const
{
    QList<Diagnostic> found;
    const Line &l = m_lines[std::size_t(line)];
    const LineText text = textOf(l);
    for (const auto &verdict : {l.first(), l.second()}) {
        if (verdict && verdict->error()) {
            const auto [column, length] = diagnosticRange(text, verdict->part());
            found.append({line, column, length, verdict->kind});
        }
    }
    return found;
}

QList<Diagnostic> ScriptModel::diagnostics() const
{
    QList<Diagnostic> all;
    for (int i = 0; i < lineCount(); ++i) {
        const Line &l = m_lines[std::size_t(i)];
        if (l.mistakes() > 0)
            all.append(diagnostics(i));
    }
    return all;
}

LabelList ScriptModel::labels() const
{
    // Sized once, names and all: grown by doubling, a list of 80,000 labels held twice its size
    // while a check was at its peak.
    qsizetype labels = 0;
    qsizetype characters = 0;
    for (const Line &l : m_lines) {
        if (const auto at = labelDefinedOn(l)) {
            ++labels;
            characters += at->length;
        }
    }
    LabelList found;
    found.reserve(labels, characters);
    for (int i = 0; i < lineCount(); ++i) {
        const Line &l = m_lines[std::size_t(i)];
        if (const auto at = labelDefinedOn(l)) {
            const LineText text = textOf(l);
            found.append(i, int(at->column), text.view().sliced(at->column, at->length));
        }
    }
    return found;
}

void ScriptModel::placeLabels(LabelList &labels) const
{
    qsizetype next = 0;
    for (int i = 0; i < lineCount() && next < labels.size(); ++i) {
        if (const auto at = labelDefinedOn(m_lines[std::size_t(i)]))
            labels.place(next++, i, int(at->column));
    }
}

QStringList ScriptModel::includedLabels()
{
    QStringList names;
    for (auto it = m_includeCount.cbegin(); it != m_includeCount.cend(); ++it)
        for (const IncludedLabel &included : includedBy(it.key()))
            names.append(included.name);
    names.removeDuplicates();
    return names;
}

std::optional<LabelDefinitionAt> ScriptModel::definitionOf(QStringView name) const
{
    const QString upper = upperCased(name);
    for (int i = 0; i < lineCount(); ++i) {
        const Line &l = m_lines[std::size_t(i)];
        if (l.definesLabel && definedLabelOf(l) == upper) {
            const LineText line = textOf(l);
            const QStringView text = line;
            const auto at = labelDefinition(text);
            return LabelDefinitionAt{
                i, int(at->column), text.sliced(at->column, at->length).toString()};
        }
    }
    return std::nullopt;
}

QList<Diagnostic> ScriptModel::referencesTo(QStringView name) const
{
    const QString upper = upperCased(name);
    QList<Diagnostic> found;
    for (int i = 0; i < lineCount(); ++i) {
        const Line &l = m_lines[std::size_t(i)];
        if (!l.labelDependent)
            continue;
        const LineText line = textOf(l);
        const QStringView text = line;
        for (const LabelReference &reference : labelReferences(text)) {
            if (upperCased(text.sliced(reference.column, reference.length)) == upper)
                found.append({i, reference.column, reference.length, {}});
        }
    }
    return found;
}

std::optional<LabelReference> ScriptModel::labelRangeAt(int line, qsizetype column) const
{
    if (line < 0 || line >= lineCount())
        return std::nullopt;
    const LineText text = lineText(line);
    auto holds = [column](const LabelReference &r) {
        return column >= r.column && column <= r.column + r.length;
    };
    if (const auto at = labelDefinition(text); at && holds(*at))
        return at;
    for (const LabelReference &reference : labelReferences(text)) {
        if (holds(reference))
            return reference;
    }
    return std::nullopt;
}

QString ScriptModel::labelAt(int line, qsizetype column) const
{
    const auto range = labelRangeAt(line, column);
    if (!range)
        return {};
    const LineText text = lineText(line);
    return text.view().sliced(range->column, range->length).toString();
}

std::optional<IncludedLabel> ScriptModel::includedDefinitionOf(QStringView name)
{
    const QString upper = upperCased(name);
    for (auto it = m_includeCount.cbegin(); it != m_includeCount.cend(); ++it) {
        for (const IncludedLabel &included : includedBy(it.key())) {
            if (upperCased(included.name) == upper)
                return included;
        }
    }
    return std::nullopt;
}

QList<LabelPlace> ScriptModel::labelPlaces(QStringView name) const
{
    QList<LabelPlace> places;
    for (const Diagnostic &d : renameRanges(name)) {
        const LineText line = lineText(d.line);
        const auto defined = labelDefinition(line);
        places.append({{},
                       d.line,
                       d.column,
                       d.length,
                       defined && defined->column == d.column,
                       trimmedView(line).toString()});
    }
    return places;
}

bool ScriptModel::nameTaken(QStringView name, QStringView newName)
{
    return upperCased(newName) != upperCased(name)
           && (definitionOf(newName) || includedDefinitionOf(newName));
}

QList<Diagnostic> ScriptModel::renameRanges(QStringView name) const
{
    const QString upper = upperCased(name);
    QList<Diagnostic> ranges;
    for (const LabelDefinitionAt label : labels()) {
        if (upperCased(label.name) == upper)
            ranges.append({label.line, label.column, label.name.size(), {}});
    }
    ranges += referencesTo(name);
    std::sort(ranges.begin(), ranges.end(), [](const Diagnostic &a, const Diagnostic &b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return ranges;
}

} // namespace Korveth
