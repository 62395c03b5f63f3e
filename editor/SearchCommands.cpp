#include "SearchCommands.h"
#include "MenuKeys.h"

#include "CommandRegistry.h"
#include "Dialogs.h"
#include "EditorSearch.h"
#include "FindReplaceDialog.h"
#include "ScriptEditor.h"

namespace Korveth {

SearchCommands::SearchCommands(SearchSettings &settings,
                               Dialogs &dialogs,
                               QWidget &window,
                               ActiveEditor active)
    : m_settings(settings)
    , m_dialogs(dialogs)
    , m_active(std::move(active))
    , m_dialog(new FindReplaceDialog(settings, &window))
{}

void SearchCommands::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::Find, [this] { find(false); });
    commands.add(MenuKey::Replace, [this] { find(true); });
    commands.add(MenuKey::FindNext, [this] { findAgain(true); });
    commands.add(MenuKey::FindPrevious, [this] { findAgain(false); });
    commands.add(MenuKey::GoToLine, [this] { goToLine(); });
}

void SearchCommands::follow(ScriptEditor *editor)
{
    m_dialog->setEditor(editor);
}

void SearchCommands::find(bool replace)
{
    ScriptEditor *editor = m_active();
    if (!editor)
        return;
    follow(editor);
    m_dialog->showFor(replace);
}

void SearchCommands::findAgain(bool forward)
{
    ScriptEditor *editor = m_active();
    if (!editor)
        return;
    if (m_settings.text.isEmpty())
        find(false);
    else
        EditorSearch::findText(*editor, m_settings, forward);
}

void SearchCommands::goToLine()
{
    ScriptEditor *editor = m_active();
    if (!editor)
        return;
    const auto chosen = m_dialogs.lineNumber(
        QStringLiteral("Go To Line"), editor->selectionRange(false).endLine + 1, editor->lines());
    if (chosen)
        editor->runBuiltInCommand(ScriptEditor::GoToLine, *chosen - 1);
}

} // namespace Korveth
