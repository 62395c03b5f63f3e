#include "ScriptModel.h"

#include "ScriptLanguage.h"

// How a script's model follows its includes: where they are looked for, and what they bring in
// as they change.
namespace Korveth {

QList<IncludedLabel> ScriptModel::includedBy(const QString &written)
{
    // The classic dialect has no includes: its checks, completion and definitions agree on that.
    if (m_dialect != Dialect::Modern)
        return {};
    const QString path = m_library->resolve(m_search, written);
    return path.isEmpty() ? QList<IncludedLabel>() : m_library->labelsOf(path, m_search.root);
}

bool ScriptModel::refreshIncludes()
{
    if (m_dialect != Dialect::Modern)
        return false;
    QSet<QString> changedNames;
    bool presenceChanged = false;
    for (auto it = m_includeCount.cbegin(); it != m_includeCount.cend(); ++it) {
        IncludeState now;
        now.file = m_library->find(m_search, it.key());
        if (const QString script = now.file.script(); !script.isEmpty()) {
            for (const IncludedLabel &label : m_library->labelsOf(script, m_search.root))
                now.labels.insert(upperCased(label.name));
        }
        const IncludeState before = m_includeStates.value(it.key());
        if (now == before)
            continue;
        presenceChanged = presenceChanged || now.file.state != before.file.state;
        changedNames += (now.labels - before.labels) + (before.labels - now.labels);
        m_includeStates.insert(it.key(), std::move(now));
    }
    if (changedNames.isEmpty() && !presenceChanged)
        return false;
    std::vector<char> dirty(m_lines.size(), 0);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line &line = m_lines[i];
        if (presenceChanged && line.includes)
            m_shapes[i] = describe(line);
        if (line.labelDependent && mayName(line, changedNames))
            dirty[i] = 1;
    }
    rebuildLabels();
    survey(dirty);
    judgeDirty(dirty);
    return true;
}

void ScriptModel::setIncludeSearch(const IncludeSearch &search)
{
    if (search == m_search)
        return;
    m_search = search;
    m_includeStates.clear();
    if (!textReadable()) {
        m_rejudgeOwed = true;
        return;
    }
    rejudgeAll();
}

void ScriptModel::rejudgeAll()
{
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        m_shapes[i] = describe(m_lines[i]);
    judgeAll();
}

bool ScriptModel::knowsLabel(const QString &upper) const
{
    if (m_definedCount.contains(upper))
        return true;
    return std::any_of(
        m_includeStates.cbegin(), m_includeStates.cend(), [&upper](const IncludeState &state) {
            return state.labels.contains(upper);
        });
}

} // namespace Korveth
