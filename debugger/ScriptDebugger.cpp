#include "ScriptDebugger.h"

#include "MenuKeys.h"
#include "WindowFront.h"

#include "CheckProgressDialog.h"
#include "CommandRegistry.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "DocumentWindow.h"
#include "LiveDiagnostics.h"
#include "ReportView.h"
#include "ScriptChecker.h"
#include "ScriptDebuggerWindow.h"
#include "StyledReport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QMdiArea>
#include <QProgressBar>

namespace Korveth {

ScriptDebugger::ScriptDebugger(DocumentManager &documents,
                               DocumentArea &area,
                               Dialogs &dialogs,
                               QWidget &owner,
                               QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_area(area)
    , m_dialogs(dialogs)
    , m_owner(owner)
{}

void ScriptDebugger::registerIn(CommandRegistry &commands)
{
    commands.add(MenuKey::ScriptDebug, [this] { Start(); });
}

void ScriptDebugger::setDialect(DialectChoice dialect)
{
    m_dialect = dialect;
    if (m_window)
        m_window->dialectChoice().setCurrentIndex(int(dialect));
}

ScriptDebuggerWindow *ScriptDebugger::window() const
{
    return m_window;
}

void ScriptDebugger::setReportFont(const QFont &font)
{
    m_reportFont = font;
    if (m_window)
        m_window->report().setReportFont(font);
}

QFont ScriptDebugger::reportFont() const
{
    return m_reportFont.value_or(ReportView::defaultFont());
}

ScriptDebuggerWindow &ScriptDebugger::windowForRun()
{
    if (!m_window) {
        m_window = new ScriptDebuggerWindow(m_dialogs, &m_owner);
        if (m_reportFont)
            m_window->report().setReportFont(*m_reportFont);
        connect(m_window,
                &ScriptDebuggerWindow::scriptLineRequested,
                this,
                &ScriptDebugger::showScriptLine);
        m_window->dialectChoice().setCurrentIndex(int(m_dialect));
        connect(&m_window->dialectChoice(), &QComboBox::activated, this, [this](int index) {
            m_dialect = DialectChoice(index);
            Q_EMIT dialectChosen(m_dialect);
        });
    }
    return *m_window;
}

void ScriptDebugger::Start()
{
    DocumentWindow *document = m_documents.activeDocument();
    if (!document)
        return;
    m_checked = document;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ScriptDebuggerWindow &window = windowForRun();
    window.resetRun();

    const QString text = document->editor()->crlfText();
    const std::int32_t lines = crLfLineCount(text);
    CheckProgressDialog progress(&m_owner);
    progress.setLastLine(qMax(0, lines - 1));
    progress.show();

    // The run keeps user input out until the summary is written, but the progress window
    // repaints as it goes (every 1% of the lines).
    const std::int32_t step = qMax(1, lines / 100);
    // Includes are looked for as the live check looks for them; a script never saved has none.
    LiveDiagnostics &live = document->live();
    const std::unique_ptr<LineChecker> owned
        = makeChecker(text.toUtf8(), m_dialect, live.includeSearch(), nullptr, &live.library());
    LineChecker &checker = *owned;
    StyledReport report;
    report.reserve(text.size() * 3);
    ReportMap map;
    const CheckSummary summary = runCheck(
        text,
        checker,
        report,
        [&](std::int32_t line) {
            if (line % step != 0)
                return;
            progress.setLine(line);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        &map);
    progress.close();

    window.takeRun(report, std::move(map), checker.ErrorCount, checker.ScriptErrors);
    bringToFront(&window);
    QApplication::restoreOverrideCursor();
    window.writeSummary(summary);
}

// A double-clicked report line shows its script line in the checked document, if still open.
void ScriptDebugger::showScriptLine(int line)
{
    if (!m_checked)
        return;
    ScriptEditor *editor = m_checked->editor();
    m_area.activate(m_checked);
    m_area.mdiArea().window()->activateWindow();
    editor->setCaretPosition(line, 0);
    editor->ensureLineVisible(line);
    editor->setFocus();
}

} // namespace Korveth
