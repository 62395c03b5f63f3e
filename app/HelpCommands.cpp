#include "HelpCommands.h"
#include "MenuKeys.h"

#include "AboutBox.h"
#include "CommandRegistry.h"
#include "Dialogs.h"
#include "DocumentManager.h"
#include "ProgramPaths.h"

namespace Korveth {

// Under a domain reserved for examples until the product has its own.
const QUrl HelpCommands::website(QStringLiteral("https://korveth.example.org/"));

HelpCommands::HelpCommands(DocumentManager &documents,
                           Dialogs &dialogs,
                           const ProgramPaths &paths,
                           QWidget &owner)
    : m_documents(documents)
    , m_dialogs(dialogs)
    , m_paths(paths)
    , m_owner(owner)
{}

void HelpCommands::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::Readme, [this] { readme(); });
    commands.add(MenuKey::GeneralHelp, [this] { readme(); });
    commands.add(MenuKey::Website, [this] { openWebsite(); });
    commands.add(MenuKey::HelpOnline, [this] { openWebsite(); });
    commands.add(MenuKey::About, [this] { about(); });
}

void HelpCommands::readme()
{
    m_documents.OpenDocument(m_paths.dataFile(QStringLiteral("Readme.txt")),
                             QStringLiteral("Readme"));
}

void HelpCommands::openWebsite()
{
    m_dialogs.openWithShell(website);
}

void HelpCommands::about()
{
    AboutBox box(m_dialogs, website, &m_owner);
    m_dialogs.runModal(box);
}

} // namespace Korveth
