#include "OptionsCommand.h"

#include "MenuKeys.h"
#include "WindowFront.h"

#include "CommandRegistry.h"
#include "DocumentManager.h"
#include "EditorServices.h"
#include "OptionsWindow.h"
#include "ReportView.h"
#include "ScriptDebugger.h"

#include <QSettings>

namespace Korveth {

OptionsCommand::OptionsCommand(Dialogs &dialogs,
                               EditorServices &editors,
                               DocumentManager &documents,
                               ScriptDebugger &debugger,
                               QSettings *settings,
                               std::function<ScriptEditor *()> settingsEditor,
                               QWidget &owner)
    : m_dialogs(dialogs)
    , m_editors(editors)
    , m_documents(documents)
    , m_debugger(debugger)
    , m_settings(settings)
    , m_settingsEditor(std::move(settingsEditor))
    , m_owner(owner)
{
    // The debugger's dialect is kept with the options, and is the one mistakes are shown in as
    // one types.
    QObject::connect(&m_debugger, &ScriptDebugger::dialectChosen, &owner, [this](DialectChoice d) {
        m_editors.liveCheck.setDialect(d);
        m_options.dialect = int(d);
        if (m_settings)
            m_options.save(*m_settings);
    });
    if (!m_settings)
        return;
    m_options = StoredOptions::load(*m_settings);
    if (m_options.liveCheck)
        m_editors.liveCheck.setEnabled(*m_options.liveCheck);
    // The View menu's switch is kept with the options.
    QObject::connect(&m_editors.liveCheck, &LiveCheckSettings::changed, &owner, [this] {
        if (m_options.liveCheck == m_editors.liveCheck.enabled())
            return;
        m_options.liveCheck = m_editors.liveCheck.enabled();
        m_options.save(*m_settings);
    });
    m_editors.appearance = m_options.editor;
    m_editors.liveCheck.setScriptsFolder(m_options.scriptsFolder);
    if (m_options.debuggerFont)
        m_debugger.setReportFont(*m_options.debuggerFont);
    if (m_options.dialect) {
        m_debugger.setDialect(DialectChoice(*m_options.dialect));
        m_editors.liveCheck.setDialect(DialectChoice(*m_options.dialect));
    }
}

void OptionsCommand::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::Options, [this] { show(); });
}

void OptionsCommand::show()
{
    // The hidden editor holds the editor settings; it has no language of its own.
    const ScriptEditor *hidden = m_settingsEditor();
    OptionsWindow::Defaults defaults{hidden ? hidden->textFont() : m_owner.font(),
                                     ReportView::defaultFont(),
                                     {ReportView::styleColour(0, m_owner.palette()),
                                      ReportView::styleColour(1, m_owner.palette()),
                                      ReportView::styleColour(2, m_owner.palette())}};
    // One Options window: the command again brings it back.
    if (m_window) {
        bringToFront(m_window);
        return;
    }
    auto *window = new OptionsWindow(
        m_dialogs,
        m_options,
        std::move(defaults),
        [this](const StoredOptions &options) { apply(options); },
        &m_owner);
    m_window = window;
    bringToFront(window);
}

// The options reach every open editor and every later one, and are kept for the next run.
void OptionsCommand::apply(const StoredOptions &options)
{
    m_options = options;
    m_editors.appearance = options.editor;
    m_editors.liveCheck.setScriptsFolder(options.scriptsFolder);
    m_debugger.setReportFont(options.debuggerFont.value_or(ReportView::defaultFont()));
    for (DocumentWindow *document : m_documents.openDocuments())
        applyAppearance(options.editor, *document->editor());
    if (ScriptEditor *hidden = m_settingsEditor())
        applyAppearance(options.editor, *hidden);
    if (m_settings)
        options.save(*m_settings);
}

} // namespace Korveth
