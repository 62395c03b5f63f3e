#pragma once

#include "ScriptEditor.h"

#include <QHash>
#include <QString>

namespace Korveth {

class ScriptModel;

// Paints a model's mistakes into the editor: a squiggle under the word, a mark in a margin of
// its own, and the caret line's verdicts as the editor's accessible description, announced to a
// screen reader when the caret comes onto a marked line. The margin marks are drawn from the
// squiggles, which the editor moves with the text: a line typed above them moves both, and a long
// script keeps no marker store a line.
class MistakeMarks final : private ScriptEditor::Overlay
{
public:
    static constexpr int margin = 3;
    static constexpr int indicator = 9;
    // How long the caret line's verdict waits, so that the screen reader reads the line first.
    static constexpr int announceDelayMs = 100;

    explicit MistakeMarks(ScriptEditor &editor);
    ~MistakeMarks();
    MistakeMarks(const MistakeMarks &) = delete;
    MistakeMarks &operator=(const MistakeMarks &) = delete;

    void paint(const ScriptModel &model);
    void clear();
    // The verdicts on the caret's line as painted.
    QString verdictsAtCaret() const;
    // Keeps the accessible description on the caret line's verdicts.
    void describeCaretLine();

private:
    void paintOver(QPainter &painter, const QRect &area) override;
    // The margin's strip of the view, and drawing it again.
    QRect marginStrip() const;
    void updateMargin();

    ScriptEditor &m_editor;
    QHash<int, QString> m_shownVerdicts; // line: its verdicts as painted
    int m_caretLine = -1;                // where the caret was last told of
};

} // namespace Korveth
