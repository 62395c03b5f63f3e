#pragma once

#include <QUrl>

class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentManager;
class ProgramPaths;

// The Help menu: the Readme as a document, the website, and the about box. General Help opens
// the Readme and Help Online the website, so that F1 and Ctrl+U do what a user expects.
class HelpCommands
{
public:
    static const QUrl website;

    HelpCommands(DocumentManager &documents,
                 Dialogs &dialogs,
                 const ProgramPaths &paths,
                 QWidget &owner);

    void registerIn(CommandRegistry &commands);

    void readme();
    void openWebsite();
    void about();

private:
    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    const ProgramPaths &m_paths;
    QWidget &m_owner;
};

} // namespace Korveth
