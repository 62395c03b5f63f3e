#pragma once

#include <QAccessibleWidget>

class QsciScintillaBase;

namespace Korveth {

// What a screen reader or a magnifier asks of a Scintilla control (a script, the debugger's
// report): its text by character, word and line, the caret and the selection in characters, and
// where each character stands on the screen. It takes the place of the library's own answer,
// which gives one rectangle for every character and fails on offsets at the end of the text.
// Offsets out of range stand for the start or the end: no question can crash the program.
class EditorAccessible final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit EditorAccessible(QsciScintillaBase *control);

    // Installs the factory that gives every Scintilla control this interface; once is enough,
    // later calls do nothing.
    static void install();
    // Tells assistive technology of every move of the control's caret and change of its
    // selection, as a text control does.
    static void followCaret(QsciScintillaBase *control);

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
    QString textBeforeOffset(int offset,
                             QAccessible::TextBoundaryType boundaryType,
                             int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset,
                            QAccessible::TextBoundaryType boundaryType,
                            int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset,
                         QAccessible::TextBoundaryType boundaryType,
                         int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    enum class Side { Before, At, After };
    QsciScintillaBase *control() const;
    // Characters (code points) and the control's byte positions, each way.
    long positionOf(int offset) const;
    int offsetOf(long position) const;
    // The line that holds a character, as offsets: its first one and the first of the next line.
    std::pair<int, int> lineAround(int offset) const;
    QString textBy(Side side,
                   int offset,
                   QAccessible::TextBoundaryType boundaryType,
                   int *startOffset,
                   int *endOffset) const;
};

} // namespace Korveth
