#pragma once

#include <QHash>
#include <QString>

namespace Korveth {

class ScriptEditor;
class ScriptModel;

// Paints a model's mistakes into the editor: a squiggle under the word, a mark in a margin of
// its own, and the caret line's verdicts as the editor's accessible description, announced to a
// screen reader when the caret comes onto a marked line.
class MistakeMarks
{
public:
    static constexpr int margin = 3;
    static constexpr int marker = 9;
    static constexpr int indicator = 9;
    // How long the caret line's verdict waits, so that the screen reader reads the line first.
    static constexpr int announceDelayMs = 100;

    explicit MistakeMarks(ScriptEditor &editor);

    void paint(const ScriptModel &model);
    void clear();
    // The verdicts on the caret's line as painted.
    QString verdictsAtCaret() const;
    // Keeps the accessible description on the caret line's verdicts.
    void describeCaretLine();

private:
    ScriptEditor &m_editor;
    QHash<int, QString> m_shownVerdicts; // line: its verdicts as painted
    int m_caretLine = -1;                // where the caret was last told of
};

} // namespace Korveth
