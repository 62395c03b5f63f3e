#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>

namespace Korveth {

class Dialogs;
class DocumentArea;
class DocumentManager;
class DocumentWindow;

// Watches the files of the open documents. When another program changes or removes one, the user
// is told once the document is next the active one: an unchanged document is offered a reload;
// one with edits is reloaded only when the user agrees to lose them; a removed file leaves its
// document open and marked changed.
class DiskChangeMonitor final : public QObject
{
    Q_OBJECT

public:
    DiskChangeMonitor(DocumentManager &documents,
                      DocumentArea &area,
                      Dialogs &dialogs,
                      QObject *parent = nullptr);

    // Compares the document with its file now and asks the user when it changed.
    void check(DocumentWindow *document);
    // Re-reads the file into the document; false (with a message) when it cannot be read.
    bool reload(DocumentWindow *document);

    QStringList watchedFiles() const { return m_watcher.files(); }

private:
    void refreshWatchList();
    void onFileChanged(const QString &path);
    void checkActiveIfPending();

    DocumentManager &m_documents;
    DocumentArea &m_area;
    Dialogs &m_dialogs;
    QFileSystemWatcher m_watcher;
    QSet<int> m_pending; // TabNum of documents whose file changed since they were last checked
    bool m_asking = false;
};

} // namespace Korveth
