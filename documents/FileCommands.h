#pragma once

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentArea;
class DocumentManager;
class RecentFiles;
class ScriptPrinter;

// The File menu, the tab menu and Close All: open, save, save as, save all, close, print and
// printer set-up, each on the active document where it takes one.
class FileCommands
{
public:
    FileCommands(DocumentManager &documents,
                 DocumentArea &area,
                 ScriptPrinter &printer,
                 const RecentFiles &recent,
                 Dialogs &dialogs);

    void registerIn(CommandRegistry &commands);

    void open();
    void save();
    void saveAs();
    void saveAll();
    void close();
    void closeAll();
    // Closes every document in entry order; false as soon as one stays open.
    bool closeAllForExit();
    void print();
    void printSetup();

private:
    DocumentManager &m_documents;
    DocumentArea &m_area;
    ScriptPrinter &m_printer;
    const RecentFiles &m_recent;
    Dialogs &m_dialogs;
};

} // namespace Korveth
