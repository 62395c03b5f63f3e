#pragma once

#include "frmDoc.h"

#include <QObject>

#include <array>

class QMdiArea;
class QMdiSubWindow;

namespace Korveth {

class Dialogs;
class DocumentTabs;

// The table of open documents and the file commands. It is the only creator of document windows.
class DocumentManager final : public QObject, public DocumentSaver
{
    Q_OBJECT

public:
    static constexpr int maxDocuments = 20;

    DocumentManager(QMdiArea &area,
                    DocumentTabs &tabs,
                    Dialogs &dialogs,
                    QObject *parent = nullptr);
    ~DocumentManager() override;

    // Entries 1 to 20; an empty entry is null.
    std::array<frmDoc *, maxDocuments> Documents{};
    std::int16_t DocumentCount = 0;
    std::int32_t LastTabNum = 0;

    // Creates an empty document "New Script N"; null at the limit.
    frmDoc *NewDocument();

    enum class Origin { File, Template };
    // Creates a document holding the file; null at the limit or when the file cannot be read
    // (the user is told why). A template-born document counts as never saved.
    frmDoc *
    OpenDocument(const QString &path, const QString &tabCaption, Origin origin = Origin::File);

    // Saves the document of the entry; true when it was written.
    bool SaveDocument(int entry) override;
    bool SaveDocumentAs(int entry);

    frmDoc *activeDocument() const;
    frmDoc *document(int entry) const;
    void activate(frmDoc *document);
    // Documents in entry order.
    QList<frmDoc *> openDocuments() const;

    // The file commands, on the active document where they take one.
    void openCommand();
    void saveCommand();
    void saveAsCommand();
    void saveAllCommand();
    void closeCommand();
    void closeAllCommand();
    // Closes every document in entry order; false as soon as one stays open.
    bool closeAllForExit();
    void printCommand();
    void printSetupCommand();

    void setHighlightSelectedLine(bool on);
    bool highlightSelectedLine() const { return m_highlightSelectedLine; }

    // The set-up every new or opened editor gets: language, font style, margin and colours.
    static void applyEditorSetUp(ScriptEditor &editor);

Q_SIGNALS:
    // The open command chose a file (before it is opened): the recent-files list records it.
    void fileChosenForOpening(const QString &path);
    void positionTextChanged(const QString &text);
    void editMenuRequested(const QPoint &globalPos);

private:
    // Takes an entry and the next number; the caption is the path, or "New Script N" without one.
    frmDoc *createDocument(const QString &path);
    void showDocument(frmDoc *document, const QString &tabCaption);
    bool showLimitMessageIfFull();
    void onDocumentClosing(frmDoc *document);
    bool writeDocument(frmDoc *document, const QString &path);
    QMdiSubWindow *subWindowOf(frmDoc *document) const;

    QMdiArea &m_area;
    DocumentTabs &m_tabs;
    Dialogs &m_dialogs;
    bool m_highlightSelectedLine = false;
};

} // namespace Korveth
