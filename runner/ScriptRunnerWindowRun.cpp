// How the Script Runner runs its script: a fresh run made ready, and the slices it goes on in.
#include "ScriptRunnerWindow.h"

#include "GlobalsFile.h"

#include "LiveCheckSettings.h"
#include "ScriptEditor.h"
#include "TextLines.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Korveth {

// A fresh run of the editor's text as it is now.
bool ScriptRunnerWindow::prepare()
{
    stopRun();
    if (!m_editor) {
        setStatus(tr("No script is open."));
        return false;
    }
    std::unique_ptr<GameSource> source;
    LineSource *typed = nullptr;
    LogReadAhead *readAhead = nullptr;
    if (const QString log = m_log->text().trimmed(); !log.isEmpty()) {
        // Opened and read on a thread of its own: a slow disk or share never holds the window.
        auto file = std::make_unique<LogReadAhead>(log, [this] {
            QMetaObject::invokeMethod(this, &ScriptRunnerWindow::logTold, Qt::QueuedConnection);
        });
        readAhead = file.get();
        source = std::move(file);
    } else {
        // No log: the user types the game's lines as the script waits for them.
        auto lines = std::make_unique<LineSource>(QStringList(), true);
        typed = lines.get();
        source = std::move(lines);
    }
    RunOptions options;
    if (const QString file = m_globalsFile->text().trimmed(); !file.isEmpty()) {
        QString error;
        const auto profile = readGlobalsFile(file, &error);
        if (!profile) {
            setStatus(tr("The globals file %1 cannot be read: %2").arg(file, error));
            return false;
        }
        options.globals = *profile;
    }
    options.arguments = m_arguments->text().split(u' ', Qt::SkipEmptyParts);
    for (const QString &pair : m_globals->text().split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals > 0)
            options.globals.insert(pair.first(equals).remove(u'$'), pair.sliced(equals + 1));
    }
    const ProgramAhead::Key key = aheadKey();
    std::optional<ProgramAhead::Made> made = m_ahead.find(key);
    if (!made) {
        // A view of the editor's own text: nothing edits it while the program is made.
        made = ProgramAhead::make(m_editor->utf8(), key, &m_includes.library());
        m_ahead.keep(key, *made);
    }
    m_program = made->program;
    options.dialect = made->dialect;
    m_source = std::move(source);
    m_typed = typed;
    m_readAhead = readAhead;
    m_waitingForLog = false;
    m_runner = std::make_unique<ScriptRunner>(*m_program, options, *m_source);
    m_trace.clear();
    m_sent.clear();
    m_logLines.clear();
    m_runner->onEvent = [this](const RunEvent &event) {
        const RunProgram::Line &line = m_program->lines()[std::size_t(event.line)];
        const QString text = QStringLiteral("%1: %2 -> %3")
                                 .arg(line.line + 1)
                                 .arg(line.text(), runEventText(event));
        m_trace.add(text, line.inScript() ? line.line : -1);
        if (event.kind == RunEvent::Kind::Sent)
            m_sent.add(event.text);
    };
    m_runner->onLineRead = [this](qint64 number, QStringView text) {
        m_logLines.add(QStringLiteral("%1: %2").arg(number).arg(text));
    };
    m_stop->setEnabled(true);
    return true;
}

ProgramAhead::Key ScriptRunnerWindow::aheadKey() const
{
    // Included scripts are found as the live check finds them: from the script's folder up to
    // the scripts folder, or the library's root.
    IncludeSearch search;
    if (!m_path.isEmpty()) {
        const QString folder = QFileInfo(m_path).absolutePath();
        const QString root = m_includes.scriptsFolder();
        search = {folder, root.isEmpty() ? m_includes.library().libraryRootOf(folder) : root};
    }
    const int dialect = m_dialect->currentIndex();
    return {m_revision,
            dialect == 1   ? DialectChoice::Classic
            : dialect == 2 ? DialectChoice::Modern
                           : DialectChoice::Auto,
            search};
}

void ScriptRunnerWindow::prepareAhead()
{
    // A short script is made ready in a moment when the run starts; only a long one is worth a
    // thread and a copy of its text.
    constexpr int longScript = 20000;
    if (!m_editor || m_runner || !isVisible() || m_editor->linecount() < longScript)
        return;
    if (!m_ahead.start(aheadKey(), m_editor->utf8().toByteArray(), &m_includes.library()))
        m_aheadTimer.start(); // an older one is still being made
}

void ScriptRunnerWindow::typeGameLine()
{
    const QString line = m_gameLine->text();
    m_gameLine->clear();
    if (!m_runner || !m_typed) {
        setStatus(tr("Game lines are typed while a run without a log waits."));
        return;
    }
    m_typed->add(line);
    runSlice(); // the wait goes on as it was asked: a step, a step over or a continue
}

void ScriptRunnerWindow::logTold()
{
    if (!m_readAhead)
        return;
    if (const QString error = m_readAhead->error(); !error.isEmpty()) {
        const QString log = m_log->text().trimmed();
        stopRun();
        setStatus(tr("The log %1 cannot be read: %2").arg(log, error));
        return;
    }
    if (std::exchange(m_waitingForLog, false))
        runSlice(); // the wait goes on as it was asked
}

void ScriptRunnerWindow::startRun()
{
    if (prepare())
        continueRun();
}

void ScriptRunnerWindow::stepInto()
{
    if (!m_runner && !prepare())
        return;
    m_until = Until::Step;
    runSlice();
}

void ScriptRunnerWindow::stepOver()
{
    if (!m_runner && !prepare())
        return;
    m_until = Until::StepOver;
    m_depth = int(m_runner->callStack().size());
    runSlice();
}

void ScriptRunnerWindow::continueRun()
{
    if (!m_runner && !prepare())
        return;
    m_until = Until::Breakpoint;
    runSlice();
}

void ScriptRunnerWindow::stopRun()
{
    m_slices.stop();
    const bool wasRunning = bool(m_runner);
    m_runner.reset();
    m_typed = nullptr;
    m_readAhead = nullptr;
    m_waitingForLog = false;
    m_source.reset();
    m_program.reset();
    markCurrentLine(-1);
    if (wasRunning)
        setStatus(tr("Stopped."));
    showState();
}

QString ScriptRunnerWindow::describeLine(int programLine) const
{
    if (programLine >= int(m_program->lines().size()))
        return tr("the end of the script");
    const RunProgram::Line &line = m_program->lines()[std::size_t(programLine)];
    return line.inScript() ? tr("line %1: %2").arg(line.line + 1).arg(line.text())
                           : tr("line %1 of %2: %3")
                                 .arg(line.line + 1)
                                 .arg(m_program->fileOf(line), line.text());
}

bool ScriptRunnerWindow::atBreakpoint(int programLine) const
{
    const RunProgram::Line &line = m_program->lines()[std::size_t(programLine)];
    return line.inScript() && m_editor && line.line < m_editor->linecount()
           && (m_editor->marginMask(line.line) & ScriptEditor::breakpointBit);
}

// Runs until the step is done, a breakpoint or the end, or for one slice of time; a run that is
// not done yet goes on after the window's waiting events.
void ScriptRunnerWindow::runSlice()
{
    if (!m_runner)
        return;
    QElapsedTimer clock;
    clock.start();
    const int lines = int(m_program->lines().size());
    // A breakpoint on the line a run starts at is hit before that line runs.
    if (m_runner->steps() == 0 && !m_runner->waiting() && m_until == Until::Breakpoint && lines > 0
        && atBreakpoint(m_runner->currentLine())) {
        m_slices.stop();
        setStatus(tr("Paused at the breakpoint on %1").arg(describeLine(m_runner->currentLine())));
        showState();
        return;
    }
    for (bool first = true;; first = false) {
        // A wait over a long log is read a few lines at a time, so that the window answers
        // between, however slow its patterns.
        const ScriptRunner::Outcome outcome = m_runner->step(linesPerStep);
        if (outcome != ScriptRunner::Outcome::Ran) {
            afterRun(outcome);
            return;
        }
        const int next = m_runner->currentLine();
        // Still waiting: the step is not done, and the line after the wait not reached.
        const bool waiting = m_runner->waiting();
        const bool stepDone
            = !waiting
              && (m_until == Until::Step
                  || (m_until == Until::StepOver && int(m_runner->callStack().size()) <= m_depth));
        if (stepDone
            || (!waiting && next < lines && atBreakpoint(next)
                && (!first || m_until == Until::Breakpoint))) {
            m_slices.stop();
            // The status says where: the margin's pointer is not seen by everyone.
            setStatus(stepDone ? tr("Paused. Next: %1").arg(describeLine(next))
                               : tr("Paused at the breakpoint on %1").arg(describeLine(next)));
            showState();
            return;
        }
        if (clock.elapsed() >= sliceMs) {
            flushPanes();
            setProgress(tr("Running... (%1 steps)").arg(m_runner->steps()));
            m_stop->setEnabled(true);
            m_slices.start();
            return;
        }
    }
}

void ScriptRunnerWindow::afterRun(ScriptRunner::Outcome outcome)
{
    m_slices.stop();
    if (outcome == ScriptRunner::Outcome::NeedsInput && m_readAhead) {
        // The log's next lines are not read yet: the run goes on when they are.
        m_waitingForLog = true;
        setProgress(tr("Reading the log..."));
        flushPanes();
        return;
    }
    if (outcome == ScriptRunner::Outcome::NeedsInput) {
        setStatus(tr("Waiting for %1. Type a game line below and press Enter.")
                      .arg(m_runner->waitingFor()));
        flushPanes();
        showState();
        return;
    }
    const RunFinding finding = m_runner->finding().value_or(RunFinding{});
    const int line
        = m_program->lines().empty() ? 0 : m_program->lines()[std::size_t(finding.line)].line + 1;
    setStatus(tr("Line %1: %2: %3").arg(line).arg(runFindingName(finding.kind), finding.text));
    m_trace.add(m_status->text(), line - 1);
    flushPanes();
    m_runner.reset(); // the run is over; its values stay on show
    markCurrentLine(-1);
    m_stepInto->setEnabled(true);
    m_stop->setEnabled(false);
}

} // namespace Korveth
