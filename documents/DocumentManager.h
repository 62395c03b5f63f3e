#pragma once

#include "DocumentTable.h"
#include "DocumentWindow.h"

#include <QObject>
#include <QPointer>

#include <array>

namespace Korveth {

class Dialogs;
class DocumentArea;
class FileStore;
struct EditorServices;

// Opens, saves and names documents, and is the only creator of their windows. Its table owns the
// documents; where their windows stand is the document area's.
class DocumentManager final : public QObject, public DocumentSaver
{
    Q_OBJECT

public:
    static constexpr int maxDocuments = DocumentTable::capacity;
    using Origin = ScriptDocument::Origin;

    DocumentManager(DocumentArea &area,
                    EditorServices &services,
                    FileStore &store,
                    Dialogs &dialogs,
                    QObject *parent = nullptr);
    ~DocumentManager() override;

    const DocumentTable &table() const { return m_table; }
    int count() const { return m_table.count(); }

    // Creates an empty document "New Script N"; null at the limit.
    DocumentWindow *NewDocument();

    // Creates a document holding the file; null at the limit or when the file cannot be read
    // (the user is told why). A file that is already open is not opened twice: its document
    // becomes the active one. A template-born document counts as never saved.
    DocumentWindow *
    OpenDocument(const QString &path, const QString &tabCaption, Origin origin = Origin::File);

    // Opens a file for the start page: into the active document while that is an untouched new
    // script (the blank one start-up made), otherwise as a document of its own. Text the user may
    // want back is never replaced, and the loaded document has no undo history to bring another
    // text back under the file's name. Null (the user is told why) when the file cannot be read.
    DocumentWindow *OpenInPlaceOfBlank(const QString &path, const QString &tabCaption);
    // Where new text from the start page or a generator goes: the active document while it is
    // an untouched new script, otherwise a new document; null at the limit (the user is told).
    DocumentWindow *documentForNewText();
    // Sets the caption of a document's tab.
    void setTabCaption(DocumentWindow *document, const QString &caption);

    // Saves the document of the entry; true when it was written.
    bool SaveDocument(int entry) override;
    bool SaveDocumentAs(int entry);

    DocumentWindow *activeDocument() const;
    DocumentWindow *document(int entry) const;
    // Documents in entry order.
    QList<DocumentWindow *> openDocuments() const;
    // The open document tied to the file, paths compared after resolving links; null for none.
    DocumentWindow *documentOfFile(const QString &path) const;

    void setHighlightSelectedLine(bool on);
    bool highlightSelectedLine() const { return m_highlightSelectedLine; }

    // The set-up every new or opened editor gets: language, font style, margin and colours.
    static void applyEditorSetUp(ScriptEditor &editor);

Q_SIGNALS:
    void documentCreated(DocumentWindow *document);
    void positionTextChanged(const QString &text);
    void editMenuRequested(const QPoint &globalPos);
    // The last open document is closing: what showed it (position, mistakes, labels) empties.
    void lastDocumentClosed();

private:
    // A window for a document that is not yet in the table (its number is the next one).
    std::unique_ptr<DocumentWindow> makeWindow(ScriptDocument &document);
    // Enters the document and its window in the table.
    DocumentWindow *enter(std::unique_ptr<ScriptDocument> document,
                          std::unique_ptr<DocumentWindow> window);
    void showDocument(DocumentWindow *document, const QString &tabCaption);
    bool showLimitMessageIfFull();
    // Reads a file into the document, telling the user why when it cannot be read.
    bool loadOrReport(DocumentWindow &document, const QString &path, Origin origin);
    void onDocumentClosing(DocumentWindow *document);
    bool writeDocument(DocumentWindow *document, const QString &path);
    bool mayOverwriteChangedFile(DocumentWindow *document);

    DocumentArea &m_area;
    EditorServices &m_services;
    FileStore &m_store;
    Dialogs &m_dialogs;
    bool m_highlightSelectedLine = false;
    DocumentTable m_table;
    // The window of each entry of the table.
    std::array<QPointer<DocumentWindow>, maxDocuments> m_windows;
};

} // namespace Korveth
