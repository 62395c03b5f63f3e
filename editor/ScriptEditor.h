#pragma once

#include "TextFile.h"

#include <Qsci/qsciscintilla.h>

#include <cstdint>
#include <memory>

class QAccessibleTextCursorEvent;
class QPainter;

namespace Korveth {

struct EditorServices;

// The editor wrapper: the one class that talks to QScintilla for a document. It holds the text as
// UTF-8 with the file's own line ends, so an unedited file saves back byte for byte. Lines and
// columns are zero-based.
class ScriptEditor : public QsciScintilla
{
    Q_OBJECT

public:
    struct Range
    {
        int startLine = 0;
        int startColumn = 0;
        int endLine = 0;
        int endColumn = 0;
        friend bool operator==(const Range &, const Range &) = default;
    };

    // Numbers of the built-in commands; ExecuteCmd runs those that need no dialog.
    enum BuiltInCommand {
        SelectLine = 136,
        SelectAll = 137,
        GoToLine = 168,
        Replace = 170,
        FindPrevious = 174,
        FindNext = 176,
        Find = 178,
        Properties = 224,
    };

    // Marker of the highlighted line; margin images use markers 0 to 2.
    static constexpr int highlightMarker = 8;
    // The line numbers' margin and the margin of images (breakpoint, arrow).
    static constexpr int numberMargin = 0;
    static constexpr int imageMargin = 1;

    explicit ScriptEditor(EditorServices &services, QWidget *parent = nullptr);
    ~ScriptEditor() override;

    EditorServices &services() const { return m_services; }

    // The whole text, lines joined by CR LF whatever line ends the buffer holds.
    QString crlfText() const;
    // Replaces the whole text as one undoable step; line ends become the document's style.
    void setWholeText(const QString &text);
    // Replaces the selection; "" deletes it.
    void replaceSelectionWith(const QString &text);
    // Puts the text in place of each byte range (start, end), as one undoable step, and leaves
    // the caret after the first. The ranges are in order and do not overlap.
    void replaceRanges(const QList<std::pair<qsizetype, qsizetype>> &ranges, const QString &text);
    // The font text is drawn in: the language's, or the editor's while it has none.
    QFont textFont() const;
    // The selection; normalised puts the start first, otherwise the end is at the caret.
    Range selectionRange(bool normalise) const;
    void setCaretPosition(int line, int column);
    int linecount() const { return lines(); }
    // Select line, select all, and go to line (datum: the zero-based line). The commands that
    // show a dialog belong to the windows that own those dialogs.
    void runBuiltInCommand(int command, int datum = 0);

    // The buffer as it is: UTF-8 with the document's line ends. Valid until the next edit (told
    // by bytesChanging or textReplacing), however often it is asked for.
    QByteArrayView utf8() const;
    // A copy of part of it, without gathering the rest into one block first as utf8() does.
    QByteArray utf8(qsizetype from, qsizetype length) const;
    // Loads UTF-8 text with the line ends new lines get; nothing to undo, no change reported.
    void loadUtf8(const QByteArray &utf8, LineEnding lineEnding);
    // Where a document pours its file's text as it reads it (see ScriptDocument::load): the editor
    // is filled as a load fills it, with nothing to undo and no change reported. showLoaded()
    // ends it; after an error the editor is empty.
    class TextLoading;
    std::unique_ptr<TextLoading> startLoading();
    void showLoaded(TextLoading &loading, const ReadResult &read);
    LineEnding lineEnding() const { return m_lineEnding; }

    // Colours the text by a registered language; an unknown name leaves the text plain.
    void Language(const QString &name);
    QString language() const { return m_language; }
    // What SetColor and SetFontStyle set, by the numbers stored settings have always used.
    enum class ColourItem { CommentText = 1, MarginBackground = 26, MarginText = 27 };
    enum class FontStyleItem { Keywords = 2 };
    enum FontStyle { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };
    // A colour as 0xBBGGRR.
    void SetColor(ColourItem item, std::uint32_t bgr);
    void SetFontStyle(FontStyleItem item, FontStyle style);
    void DisplayLeftMargin(bool show);

    // Character (code point) offsets, as assistive technology counts them, of the control's byte
    // positions, and back (ScintillaCharacters.h).
    long characterOffset(long position) const;
    long positionOfCharacter(long offset) const;

    void setHighlightedLine(int line);
    int highlightedLine() const { return m_highlightedLine; }
    std::uint8_t marginMask(int line) const;
    void setMarginMask(int line, std::uint8_t mask);
    // The margin image of a breakpoint.
    static constexpr std::uint8_t breakpointBit = 2;
    // Sets or removes the breakpoint on a line; says which, as the player is told.
    QString toggleBreakpoint(int line);

    // Draws on the view once the control has drawn it: marks that the control would keep a
    // pointer a line for, in every line of a long script, as soon as one line had them.
    class Overlay
    {
    public:
        // The area drawn again, in the view's coordinates.
        virtual void paintOver(QPainter &painter, const QRect &area) = 0;

    protected:
        ~Overlay() = default;
    };
    void setOverlay(Overlay *overlay) { m_overlay = overlay; }

Q_SIGNALS:
    // The text is about to change (typing, a paste, undo, a replacement): sent as the change
    // begins, so the text may not hold it yet. QsciScintilla's textChanged is not sent; its
    // linesChanged is, once a change that added or removed lines is done.
    void editing();
    // The same, with the bytes it changes: in a text that many bytes long, from at, the bytes
    // removed and the bytes inserted (one of them 0).
    void bytesChanging(qsizetype length, qsizetype at, qsizetype removed, qsizetype inserted);
    // The whole text is about to be replaced, then was, with no change told (a file loaded into
    // the editor).
    void textReplacing();
    void textReplaced();
    void caretOrSelectionChanged();
    void gotFocus();
    void registeredCommand(int number);
    // Button 2 is the right button, as the context-menu request reports it.
    void mouseButton(int button, Qt::KeyboardModifiers modifiers, const QPoint &globalPos);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void changeBegins(int position, int type, const char *text, int length);
    // Tells what follows a change once it is done: the line count, and assistive technology.
    void finishChange();
    void selectCaretLine();
    // One undoable step.
    void replaceWholeText(const QByteArray &utf8);

    EditorServices &m_services;
    LineEnding m_lineEnding = LineEnding::CrLf;
    QString m_language;
    int m_highlightedLine = -1;
    Overlay *m_overlay = nullptr;
    int m_lineCount = 1;
    bool m_changePending = false;
    bool m_finishQueued = false;
    // The change under way, as assistive technology is told of it once it is done.
    std::unique_ptr<QAccessibleTextCursorEvent> m_announcement;
};

// Fills the editor the way a load does: nothing to undo back to, and no change notifications (the
// control would copy the whole text into them).
class ScriptEditor::TextLoading final : public TextSink
{
public:
    explicit TextLoading(ScriptEditor &editor);
    void expect(qint64 bytes) override;
    void append(QByteArrayView utf8) override;
    void discard() override;
    void finish(LineEnding lineEnding);

private:
    ScriptEditor &m_editor;
    const long m_eventMask;
};

} // namespace Korveth
