#pragma once

class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentManager;

// Word, character and line counts of the active document, and its Script Properties window.
class CountCommands
{
public:
    CountCommands(DocumentManager &documents, Dialogs &dialogs, QWidget &owner);

    void registerIn(CommandRegistry &commands);

    void wordCount();
    void characterCount();
    void lineCount();
    void countAll();
    void scriptProperties();

private:
    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    QWidget &m_owner;
};

} // namespace Korveth
