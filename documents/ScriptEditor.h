#pragma once

#include "TextFile.h"

#include <Qsci/qsciscintilla.h>

#include <cstdint>

namespace Korveth {

class Dialogs;
class FindReplaceDialog;

// What the find, find next and replace commands search for; shared by every editor so that
// Find Next continues a search begun in another document.
struct SearchSettings
{
    QString text;
    QString replacement;
    bool matchCase = false;
    bool wholeWord = false;

    static SearchSettings &shared();
};

// The one editor of the program: every operation the rest of the program uses on a document's
// text goes through here. Lines and columns are zero-based.
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

    // Numbers of the built-in commands ExecuteCmd runs.
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
    // Flags of PrintContents.
    enum PrintFlags { PrinterSetup = 12, PrintDocument = 13 };

    // Marker of the highlighted line; margin images use markers 0 to 2.
    static constexpr int highlightMarker = 8;

    explicit ScriptEditor(QWidget *parent = nullptr);
    ~ScriptEditor() override;

    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    Dialogs *dialogs() const { return m_dialogs; }

    // The whole text, lines joined by CR LF whatever line ends the buffer holds.
    QString Text() const;
    // Replaces the whole text as one undoable step; line ends become the document's style.
    void SetText(const QString &text);
    // Replaces the selection; "" deletes it.
    void SetSelText(const QString &text);
    // The selection; normalised puts the start first, otherwise the end is at the caret.
    Range GetSel(bool normalise) const;
    void SetCaretPos(int line, int column);
    int linecount() const { return lines(); }
    void ExecuteCmd(int command, int datum = 0);
    void PrintContents(int unused, int flags);

    // Loads a file as the text, remembering its format; returns the reason on failure.
    QString OpenFile(const QString &path);
    // Loads text already read and decoded.
    void loadDecoded(const DecodedText &decoded);
    struct SaveOutcome
    {
        QString error;  // empty on success
        QString notice; // set when the text could not be kept in the file's encoding
    };
    // Writes the text atomically in the remembered format.
    SaveOutcome SaveFile(const QString &path, bool);
    const TextFileFormat &fileFormat() const { return m_format; }

    // Colours the text by a registered language; an unknown name leaves the text plain.
    void Language(const QString &name);
    QString language() const { return m_language; }
    // Colour items (0xBBGGRR): 1 comment text, 26 margin background, 27 margin text.
    void SetColor(int item, std::uint32_t bgr);
    // Font-style items: 2 keywords. Styles: 0 normal, 1 bold, 2 italic, 3 bold italic.
    void SetFontStyle(int item, int style);
    void DisplayLeftMargin(bool show);

    void setHighlightedLine(int line);
    int highlightedLine() const { return m_highlightedLine; }
    std::uint8_t marginMask(int line) const;
    void setMarginMask(int line, std::uint8_t mask);

    // Search operations behind the find and replace dialogs.
    bool findText(const SearchSettings &search, bool forward);
    bool replaceSelection(const SearchSettings &search);
    // Replaces every occurrence as one undoable step; returns how many were replaced.
    int replaceAll(const SearchSettings &search);

    static QColor colorFromBgr(std::uint32_t bgr);

Q_SIGNALS:
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
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QByteArray utf8Text() const;
    void loadUtf8(const QByteArray &utf8);
    QByteArray withDocumentLineEnds(const QString &text) const;
    void applyRemovedBindings();
    void goToLine(int datum);
    void showFindDialog(bool replace);
    void showPropertiesDialog();
    int searchFlags(const SearchSettings &search) const;

    Dialogs *m_dialogs = nullptr;
    TextFileFormat m_format;
    QString m_language;
    int m_highlightedLine = -1;
    FindReplaceDialog *m_findDialog = nullptr;
};

} // namespace Korveth
