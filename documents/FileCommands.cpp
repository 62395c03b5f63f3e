#include "FileCommands.h"
#include "MenuKeys.h"

#include "CommandRegistry.h"
#include "Dialogs.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "RecentFiles.h"
#include "ScriptPrinter.h"

#include <QFileInfo>

namespace Korveth {

namespace {

const QList<Dialogs::FileFilter> openFilters{
    {QStringLiteral("Script Files (*.cmd)"), QStringLiteral("*.cmd")},
    {QStringLiteral("Wiz Files (*.wiz)"), QStringLiteral("*.wiz")},
    {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
};

} // namespace

FileCommands::FileCommands(DocumentManager &documents,
                           DocumentArea &area,
                           ScriptPrinter &printer,
                           const RecentFiles &recent,
                           Dialogs &dialogs)
    : m_documents(documents)
    , m_area(area)
    , m_printer(printer)
    , m_recent(recent)
    , m_dialogs(dialogs)
{}

void FileCommands::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::New, [this] { m_documents.NewDocument(); });
    commands.add(MenuKey::Open, [this] { open(); });
    commands.add(MenuKey::SaveAll, [this] { saveAll(); });
    commands.add(MenuKey::PrintSetup, [this] { printSetup(); });
    commands.add(MenuKey::CloseAll, [this] { closeAll(); });
    // The tab menu's commands do what their File-menu namesakes do.
    for (const QString &suffix : {QString(), QStringLiteral("2")}) {
        commands.add(QString(MenuKey::Close) + suffix, [this] { close(); });
        commands.add(QString(MenuKey::Save) + suffix, [this] { save(); });
        commands.add(QString(MenuKey::SaveAs) + suffix, [this] { saveAs(); });
        commands.add(QString(MenuKey::Print) + suffix, [this] { print(); });
    }
}

void FileCommands::open()
{
    const QString path = m_dialogs.openFileName(QStringLiteral("Open a Script..."), openFilters);
    if (path.isEmpty())
        return;
    m_recent.append(path);
    m_documents.OpenDocument(path, QFileInfo(path).fileName());
}

void FileCommands::save()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_documents.SaveDocument(document->entry());
}

void FileCommands::saveAs()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_documents.SaveDocumentAs(document->entry());
}

void FileCommands::saveAll()
{
    DocumentWindow *noted = m_documents.activeDocument();
    for (DocumentWindow *document : m_documents.openDocuments()) {
        m_area.activate(document);
        m_documents.SaveDocument(document->entry());
    }
    if (noted)
        m_area.activate(noted);
}

void FileCommands::close()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_area.close(document);
}

void FileCommands::closeAll()
{
    for (DocumentWindow *document : m_documents.openDocuments())
        m_area.close(document);
}

bool FileCommands::closeAllForExit()
{
    for (DocumentWindow *document : m_documents.openDocuments()) {
        if (!m_area.close(document))
            return false;
    }
    return true;
}

void FileCommands::print()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_printer.print(*document->editor());
}

void FileCommands::printSetup()
{
    if (m_documents.activeDocument())
        m_printer.pageSetup();
}

} // namespace Korveth
