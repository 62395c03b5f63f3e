// The main window's ways in for files: the command line and files dropped onto it.
#include "MainWindow.h"

#include "DocumentManager.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>

namespace Korveth {

namespace {

bool carriesFileList(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty()
           && std::all_of(urls.begin(), urls.end(), [](const QUrl &u) { return u.isLocalFile(); });
}

} // namespace

void MainWindow::openCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        m_documents->NewDocument();
        return;
    }
    // An unquoted path with blanks arrives cut at the blanks: when the pieces are not files
    // themselves but their join is, it is that one file.
    const QString joined = arguments.join(u' ');
    const bool eachIsAFile = std::all_of(
        arguments.begin(), arguments.end(), [](const QString &a) { return QFileInfo(a).isFile(); });
    if (arguments.size() > 1 && !eachIsAFile && QFileInfo(joined).isFile()) {
        m_documents->OpenDocument(joined, joined);
        return;
    }
    for (const QString &path : arguments)
        m_documents->OpenDocument(path, path);
}

void MainWindow::openDroppedFiles(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        m_documents->OpenDocument(path, path);
    }
}

// The active script's name first, so that a screen reader and the task bar tell which it is.
void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesFileList(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (carriesFileList(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (!carriesFileList(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openDroppedFiles(event->mimeData()->urls());
}

} // namespace Korveth
