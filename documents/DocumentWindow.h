#pragma once

#include "LiveDiagnostics.h"
#include "ScriptDocument.h"
#include "ScriptEditor.h"

#include <QWidget>

namespace Korveth {

class Dialogs;
struct EditorServices;

// Saves a document on request; the document manager. Returns true when the document was saved.
class DocumentSaver
{
public:
    virtual ~DocumentSaver() = default;
    virtual bool SaveDocument(int entry) = 0;
};

// The window of one open script: its editor showing the document. It keeps the tab strip and
// status bar in step through signals, gives the editor its three debugging keys, and asks
// whether to save when it closes.
class DocumentWindow final : public QWidget
{
    Q_OBJECT

public:
    // Registered editor commands with their hot keys.
    enum Command { DebugStepInto = 1000, DebugStepOver = 1001, DebugBreakpoint = 1002 };

    // Shows the document, which must outlive the window (the document table owns it).
    DocumentWindow(EditorServices &services,
                   ScriptDocument &document,
                   DocumentSaver *saver,
                   Dialogs &dialogs,
                   QWidget *parent = nullptr);
    ~DocumentWindow() override;

    ScriptEditor *editor() const { return m_editor; }

    ScriptDocument &document() { return m_document; }
    // The mistakes shown as one types, and the script model behind them.
    LiveDiagnostics &live() { return *m_live; }
    const ScriptDocument &document() const { return m_document; }
    bool Changed() const { return m_document.Changed(); }

    // The document's entry in the document table (1 to 20); 0 for none.
    int entry() const { return m_document.entry(); }
    // The number that tags the document's tab.
    int tabNumber() const { return m_document.number(); }

    // Shows what was read from a file: the text in the editor, the rest in the document.
    void showLoaded(const QString &path, const ReadResult &read, ScriptDocument::Origin origin);
    // Reads the file straight into the editor (a large script is never held twice) and, when that
    // succeeds, ties the document to it. The result's text is empty; after an error the editor is.
    ReadResult load(const QString &path, ScriptDocument::Origin origin);
    // Saves the editor's text to path; see ScriptDocument::save.
    ScriptDocument::SaveOutcome saveTo(const QString &path);

    void setHighlightSelectedLine(bool on);

    // The status-bar text for the current selection: "Row: 1 Col: 1 Lines: 3".
    QString positionText() const;

Q_SIGNALS:
    void positionTextChanged(const QString &text);
    void focused(int tabNum);
    void editMenuRequested(const QPoint &globalPos);
    // The window is about to ask the user about this document: show it first.
    void aboutToAsk(DocumentWindow *document);
    // Emitted once the close has been accepted, before the window goes.
    void closing(DocumentWindow *document);
    // F8, F10 or F9 in the editor (a Command): a Script Runner on this script steps with them.
    void debugKey(int command);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void registerDebugKeys(EditorServices &services);
    void onSelectionChanged();
    void onRegisteredCommand(int number);

    ScriptEditor *m_editor; // the design's `rt`
    ScriptDocument &m_document;
    DocumentSaver *m_saver;
    Dialogs &m_dialogs;
    bool m_highlightSelectedLine = false;
    bool m_closed = false;
    LiveDiagnostics *m_live = nullptr; // a child of the editor
};

} // namespace Korveth
