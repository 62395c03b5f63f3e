#include "CountCommands.h"
#include "MenuKeys.h"

#include "CommandRegistry.h"
#include "Dialogs.h"
#include "DocumentManager.h"
#include "ScriptPropertiesDialog.h"
#include "TextCounts.h"

namespace Korveth {

CountCommands::CountCommands(DocumentManager &documents, Dialogs &dialogs, QWidget &owner)
    : m_documents(documents)
    , m_dialogs(dialogs)
    , m_owner(owner)
{}

void CountCommands::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::WordCount, [this] { wordCount(); });
    commands.add(MenuKey::CharacterCount, [this] { characterCount(); });
    commands.add(MenuKey::LineCount, [this] { lineCount(); });
    commands.add(MenuKey::CountAll, [this] { countAll(); });
    commands.add(MenuKey::Properties, [this] { scriptProperties(); });
}

void CountCommands::wordCount()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_dialogs.inform(
            QStringLiteral("Word Count"),
            QStringLiteral("Words: %1").arg(Korveth::wordCount(document->editor()->crlfText())));
}

void CountCommands::characterCount()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_dialogs.inform(QStringLiteral("Character Count"),
                         QStringLiteral("Characters: %1")
                             .arg(Korveth::characterCount(document->editor()->crlfText())));
}

void CountCommands::lineCount()
{
    if (DocumentWindow *document = m_documents.activeDocument())
        m_dialogs.inform(QStringLiteral("Line Count"),
                         QStringLiteral("Lines: %1").arg(document->editor()->linecount()));
}

void CountCommands::countAll()
{
    DocumentWindow *document = m_documents.activeDocument();
    if (!document)
        return;
    const QString text = document->editor()->crlfText();
    m_dialogs.inform(QStringLiteral("Count All"),
                     QStringLiteral("Words: %1\nCharacters:%2\nLines: %3")
                         .arg(Korveth::wordCount(text))
                         .arg(Korveth::characterCount(text))
                         .arg(document->editor()->linecount()));
}

// With no document open there is nothing to describe, so the window is not shown.
void CountCommands::scriptProperties()
{
    DocumentWindow *document = m_documents.activeDocument();
    if (!document)
        return;
    const QString text = document->editor()->crlfText();
    ScriptPropertiesDialog window(&m_owner);
    window.fill({document->document().caption(),
                 document->document().neverSaved(),
                 Korveth::characterCount(text),
                 Korveth::wordCount(text),
                 document->editor()->linecount()});
    window.centreOnOwner();
    m_dialogs.runModal(window);
}

} // namespace Korveth
