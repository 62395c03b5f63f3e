#include "DiskChangeMonitor.h"

#include "Dialogs.h"
#include "DocumentArea.h"
#include "DocumentManager.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

namespace Korveth {

namespace {

const QString title = QStringLiteral("Changed on Disk");

} // namespace

DiskChangeMonitor::DiskChangeMonitor(DocumentManager &documents,
                                     DocumentArea &area,
                                     Dialogs &dialogs,
                                     QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_area(area)
    , m_dialogs(dialogs)
{
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskChangeMonitor::onFileChanged);
    connect(
        &m_documents, &DocumentManager::documentCreated, this, [this](DocumentWindow *document) {
            refreshWatchList();
            connect(&document->document(),
                    &ScriptDocument::captionChanged,
                    this,
                    &DiskChangeMonitor::refreshWatchList);
            connect(document, &DocumentWindow::closing, this, [this](DocumentWindow *closing) {
                m_pending.remove(closing->tabNumber());
                // The table lets go of the document in the same signal; watch what remains after.
                QTimer::singleShot(0, this, &DiskChangeMonitor::refreshWatchList);
            });
        });
    connect(&m_area, &DocumentArea::activated, this, [this](DocumentWindow *document) {
        if (m_pending.contains(document->tabNumber()))
            check(document);
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            checkActiveIfPending();
    });
}

void DiskChangeMonitor::refreshWatchList()
{
    QStringList wanted;
    for (const DocumentWindow *document : m_documents.openDocuments()) {
        const QString path = document->document().path();
        if (!path.isEmpty() && QFileInfo(path).isFile())
            wanted.append(QFileInfo(path).absoluteFilePath());
    }
    const QStringList watched = m_watcher.files();
    for (const QString &path : watched) {
        if (!wanted.contains(path))
            m_watcher.removePath(path);
    }
    for (const QString &path : wanted) {
        if (!watched.contains(path))
            m_watcher.addPath(path);
    }
}

void DiskChangeMonitor::onFileChanged(const QString &path)
{
    for (const DocumentWindow *document : m_documents.openDocuments()) {
        const QString own = document->document().path();
        if (!own.isEmpty() && QFileInfo(own).absoluteFilePath() == path)
            m_pending.insert(document->tabNumber());
    }
    // A file replaced by a rename is no longer watched; watch it again where it now is.
    refreshWatchList();
    QTimer::singleShot(0, this, &DiskChangeMonitor::checkActiveIfPending);
}

void DiskChangeMonitor::checkActiveIfPending()
{
    DocumentWindow *active = m_documents.activeDocument();
    if (active && m_pending.contains(active->tabNumber()) && active->window()->isActiveWindow())
        check(active);
}

void DiskChangeMonitor::check(DocumentWindow *document)
{
    if (m_asking)
        return;
    m_pending.remove(document->tabNumber());
    ScriptDocument &script = document->document();
    const ScriptDocument::DiskState state = script.diskState();
    if (state == ScriptDocument::DiskState::Unchanged || script.diskChangeAcknowledged())
        return;

    m_asking = true;
    const QString path = script.path();
    if (state == ScriptDocument::DiskState::Missing) {
        m_dialogs.inform(title,
                         QStringLiteral("\"%1\" was deleted or moved by another program.\nThe "
                                        "Script stays open here; save it to keep it.")
                             .arg(path),
                         Dialogs::Icon::Warning);
        script.setChanged(true);
        script.acknowledgeDisk();
    } else {
        const QString question
            = script.Changed()
                  ? QStringLiteral("\"%1\" was changed by another program, and this Script has "
                                   "changes of yours that are not saved.\nDo you want to reload it "
                                   "from disk and lose your changes?")
                  : QStringLiteral("\"%1\" was changed by another program.\nDo you want to "
                                   "reload it?");
        const auto answer = m_dialogs.message(
            title, question.arg(path), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes || !reload(document))
            script.acknowledgeDisk();
    }
    m_asking = false;
}

bool DiskChangeMonitor::reload(DocumentWindow *document)
{
    const QString path = document->document().path();
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty()) {
        m_dialogs.inform(title,
                         QStringLiteral("Cannot reload \"%1\".\n%2").arg(path, read.error),
                         Dialogs::Icon::Warning);
        return false;
    }
    document->showLoaded(path, read, ScriptDocument::Origin::File);
    return true;
}

} // namespace Korveth
