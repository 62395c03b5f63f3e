#include "ScriptRunnerCommand.h"

#include "WindowFront.h"

#include "CommandRegistry.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "DocumentWindow.h"
#include "MenuKeys.h"
#include "ScriptEditor.h"
#include "ScriptRunnerWindow.h"

#include <QMdiArea>

namespace Korveth {

ScriptRunnerCommand::ScriptRunnerCommand(DocumentManager &documents,
                                         DocumentArea &area,
                                         Dialogs &dialogs,
                                         LiveCheckSettings &includes,
                                         QWidget &owner,
                                         QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_area(area)
    , m_dialogs(dialogs)
    , m_includes(includes)
    , m_owner(owner)
{}

ScriptRunnerWindow *ScriptRunnerCommand::window() const
{
    return m_window;
}

void ScriptRunnerCommand::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::ScriptRun, [this] { open(); });
}

void ScriptRunnerCommand::open()
{
    DocumentWindow *document = m_documents.activeDocument();
    if (!document)
        return;
    if (!m_window) {
        m_window = new ScriptRunnerWindow(m_dialogs, m_includes, &m_owner);
        connect(m_window,
                &ScriptRunnerWindow::scriptLineChosen,
                this,
                &ScriptRunnerCommand::showScriptLine);
    }
    if (m_document != document) {
        if (m_document)
            disconnect(m_document, &DocumentWindow::debugKey, this, nullptr);
        m_document = document;
        connect(document, &DocumentWindow::debugKey, this, [this](int number) {
            if (!m_window || !m_window->isVisible())
                return;
            if (number == DocumentWindow::DebugStepInto)
                m_window->stepInto();
            else if (number == DocumentWindow::DebugStepOver)
                m_window->stepOver();
        });
    }
    m_window->setEditor(document->editor(), document->document().path());
    bringToFront(m_window);
}

void ScriptRunnerCommand::showScriptLine(int line)
{
    if (!m_document)
        return;
    m_area.activate(m_document);
    m_area.mdiArea().window()->activateWindow();
    m_document->editor()->setCaretPosition(line, 0);
    m_document->editor()->setFocus();
}

} // namespace Korveth
