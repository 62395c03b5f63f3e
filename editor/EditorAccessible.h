#pragma once

#include <QAccessibleWidget>

namespace Korveth {

class ScriptEditor;

// What a screen reader or a magnifier asks of a script editor: its text, the caret and the
// selection in characters, and where each character stands on the screen. It takes the place of
// the editor control's own answer, which gives one rectangle for every character.
class EditorAccessible final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit EditorAccessible(ScriptEditor *editor);

    // Installs the factory that gives every script editor this interface; once is enough, later
    // calls do nothing.
    static void install();
    // Tells assistive technology where the caret and the selection are now.
    static void announceSelection(ScriptEditor *editor);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(QAccessible::Text t) const override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    ScriptEditor *editor() const;
    // Characters (code points) and the control's byte positions, each way.
    long positionOf(int offset) const;
    int offsetOf(long position) const;
};

} // namespace Korveth
