#pragma once

#include "ScriptEditor.h"

#include <QWidget>

namespace Korveth {

class Dialogs;

// Saves a document on request; the document manager. Returns true when the document was saved.
class DocumentSaver
{
public:
    virtual ~DocumentSaver() = default;
    virtual bool SaveDocument(int entry) = 0;
};

// One open script: its editor `rt` and its bookkeeping. It keeps the tab strip and status bar in
// step through signals, and asks whether to save when it closes.
class frmDoc final : public QWidget
{
    Q_OBJECT

public:
    // Registered editor commands with their hot keys.
    enum Command { DebugStepInto = 1000, DebugStepOver = 1001, DebugBreakpoint = 1002 };

    frmDoc(DocumentSaver *saver, Dialogs &dialogs, QWidget *parent = nullptr);

    ScriptEditor *rt;
    std::int32_t TabNum = 0;
    bool Changed = false;
    ScriptEditor::Range lastSelection;

    // The document's entry in the document table (1 to 20), its window tag; 0 for none.
    int entry() const { return m_entry; }
    void setEntry(int entry) { m_entry = entry; }

    // A document counts as never saved while its caption begins with "New Script", or when it was
    // opened from a template that its first save must not overwrite.
    bool neverSaved() const;
    void setOpenedFromTemplate(bool fromTemplate) { m_fromTemplate = fromTemplate; }

    void setHighlightSelectedLine(bool on);

    // The status-bar text for the current selection: "Row: 1 Col: 1 Lines: 3".
    QString positionText() const;

Q_SIGNALS:
    void positionTextChanged(const QString &text);
    void focused(int tabNum);
    void editMenuRequested(const QPoint &globalPos);
    // Emitted once the close has been accepted, before the window goes.
    void closing(frmDoc *document);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void onSelectionChanged();
    void onRegisteredCommand(int number);

    DocumentSaver *m_saver;
    Dialogs &m_dialogs;
    int m_entry = 0;
    bool m_fromTemplate = false;
    bool m_highlightSelectedLine = false;
    bool m_closed = false;
};

} // namespace Korveth
