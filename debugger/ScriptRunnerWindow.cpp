#include "ScriptRunnerWindow.h"

#include "Dialogs.h"
#include "ScriptEditor.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

// The margin's bits: F9's breakpoint, and the pointer at the line that runs next.
constexpr std::uint8_t breakpointBit = 2;
constexpr std::uint8_t nextLineBit = 4;
// Lists keep their last lines: a long run must not fill the window's memory.
constexpr int keptItems = 5000;
// How long one slice of a run may hold the window.
constexpr int sliceMs = 15;

template<typename Pending> void add(Pending &pending, QString text, int line = -1)
{
    // A wait over a long log reads many lines in one step: only the last ones are kept.
    if (pending.texts.size() >= 2 * keptItems) {
        pending.texts.remove(0, keptItems);
        pending.lines.remove(0, keptItems);
    }
    pending.texts.append(std::move(text));
    pending.lines.append(line);
}

template<typename Pending> void flush(Pending &pending, QListWidget &list)
{
    if (pending.texts.isEmpty())
        return;
    const qsizetype from = qMax<qsizetype>(0, pending.texts.size() - keptItems);
    for (qsizetype i = from; i < pending.texts.size(); ++i) {
        auto *item = new QListWidgetItem(pending.texts[i], &list);
        item->setData(Qt::UserRole, pending.lines[i]);
    }
    while (list.count() > keptItems)
        delete list.takeItem(0);
    list.scrollToBottom();
    pending = {};
}

QPushButton *button(const char *name, const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1StringView(name));
    b->setToolTip(tip);
    b->setAccessibleDescription(tip);
    return b;
}

} // namespace

ScriptRunnerWindow::ScriptRunnerWindow(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
    , m_log(new QLineEdit)
    , m_arguments(new QLineEdit)
    , m_globals(new QLineEdit)
    , m_gameLine(new QLineEdit)
    , m_dialect(new QComboBox)
    , m_run(button("cmdRun", tr("&Run"), tr("Runs the script from its start against the log.")))
    , m_stepInto(button("cmdStepInto", tr("Step &Into (F8)"), tr("Runs the next line.")))
    , m_stepOver(button(
          "cmdStepOver", tr("Step &Over (F10)"), tr("Runs the next line; a gosub runs whole.")))
    , m_continue(button("cmdContinue",
                        tr("&Continue"),
                        tr("Runs on to a breakpoint (F9 in the script) or the end.")))
    , m_stop(button("cmdStop", tr("S&top"), tr("Stops the run.")))
    , m_trace(new QListWidget)
    , m_sent(new QListWidget)
    , m_logLines(new QListWidget)
    , m_matches(new QListWidget)
    , m_values(new QTreeWidget)
    , m_status(new QLabel)
{
    setObjectName(QStringLiteral("frmRunner"));
    setWindowTitle(tr("Script Runner"));
    m_log->setObjectName(QStringLiteral("txtLog"));
    m_arguments->setObjectName(QStringLiteral("txtArguments"));
    m_globals->setObjectName(QStringLiteral("txtGlobals"));
    m_globals->setPlaceholderText(tr("name=value name=value"));
    m_dialect->setObjectName(QStringLiteral("cboDialect"));
    m_gameLine->setObjectName(QStringLiteral("txtGameLine"));
    m_gameLine->setPlaceholderText(tr("with no log: a line of game text, then Enter"));
    connect(m_gameLine, &QLineEdit::returnPressed, this, &ScriptRunnerWindow::typeGameLine);
    m_dialect->addItems({tr("Auto"), tr("Classic"), tr("Modern")});
    auto *browse = button("cmdLog", tr("&Browse..."), tr("Chooses the log file."));
    connect(browse, &QPushButton::clicked, this, &ScriptRunnerWindow::chooseLog);

    auto *logRow = new QHBoxLayout;
    logRow->addWidget(m_log, 1);
    logRow->addWidget(browse);
    auto *form = new QFormLayout;
    auto *logLabel = new QLabel(tr("&Log:"));
    logLabel->setBuddy(m_log); // a row of two widgets gets no buddy of its own
    form->addRow(logLabel, logRow);
    form->addRow(tr("&Arguments:"), m_arguments);
    form->addRow(tr("&Globals:"), m_globals);
    form->addRow(tr("&Dialect:"), m_dialect);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_run, m_stepInto, m_stepOver, m_continue, m_stop})
        buttons->addWidget(b);
    buttons->addStretch();

    m_trace->setObjectName(QStringLiteral("lstTrace"));
    m_sent->setObjectName(QStringLiteral("lstSent"));
    m_logLines->setObjectName(QStringLiteral("lstLog"));
    m_matches->setObjectName(QStringLiteral("lstMatches"));
    m_values->setObjectName(QStringLiteral("treeValues"));
    m_values->setHeaderLabels({tr("Name"), tr("Value")});
    m_values->setRootIsDecorated(false);
    auto *left = new QTabWidget;
    left->addTab(m_trace, tr("&What it did"));
    left->addTab(m_sent, tr("Text &sent"));
    left->addTab(m_logLines, tr("&Log"));
    auto *right = new QTabWidget;
    right->addTab(m_values, tr("&Values"));
    right->addTab(m_matches, tr("Pending &matches"));
    auto *panes = new QSplitter;
    panes->addWidget(left);
    panes->addWidget(right);
    panes->setStretchFactor(0, 3);
    panes->setStretchFactor(1, 2);

    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->setFocusPolicy(Qt::StrongFocus); // a screen reader reaches it by Tab

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(panes, 1);
    auto *typed = new QFormLayout;
    typed->addRow(tr("Game &line:"), m_gameLine);
    layout->addLayout(typed);
    layout->addWidget(m_status);
    resize(760, 520);

    connect(m_run, &QPushButton::clicked, this, &ScriptRunnerWindow::startRun);
    connect(m_stepInto, &QPushButton::clicked, this, &ScriptRunnerWindow::stepInto);
    connect(m_stepOver, &QPushButton::clicked, this, &ScriptRunnerWindow::stepOver);
    connect(m_continue, &QPushButton::clicked, this, &ScriptRunnerWindow::continueRun);
    connect(m_stop, &QPushButton::clicked, this, &ScriptRunnerWindow::stopRun);
    connect(m_trace, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (const int line = item->data(Qt::UserRole).toInt(); line >= 0)
            Q_EMIT scriptLineChosen(line);
    });
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &ScriptRunnerWindow::runSlice);
    setStatus(tr("Choose a log, then Run or Step Into (F8)."));
    showState();
}

ScriptRunnerWindow::~ScriptRunnerWindow()
{
    markCurrentLine(-1);
}

void ScriptRunnerWindow::setEditor(ScriptEditor *editor, const QString &path)
{
    if (editor == m_editor)
        return;
    stopRun();
    if (m_editor)
        disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    m_path = path;
    if (m_editor) {
        connect(m_editor, &ScriptEditor::editing, this, [this] {
            if (!m_runner)
                return;
            stopRun();
            setStatus(tr("The script was edited, so the run stopped. Run starts it again."));
        });
    }
}

void ScriptRunnerWindow::setStatus(const QString &text)
{
    m_status->setText(text);
    m_status->setAccessibleName(text);
}

QString ScriptRunnerWindow::status() const
{
    return m_status->text();
}

void ScriptRunnerWindow::chooseLog()
{
    const QString path = m_dialogs.openFileName(
        tr("Log"),
        {{tr("Logs"), QStringLiteral("*.log *.txt")}, {tr("All files"), QStringLiteral("*")}});
    if (!path.isEmpty())
        m_log->setText(path);
}

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
    if (const QString log = m_log->text().trimmed(); !log.isEmpty()) {
        auto file = std::make_unique<LogSource>(log);
        if (!file->error().isEmpty()) {
            setStatus(tr("The log %1 cannot be read: %2").arg(log, file->error()));
            return false;
        }
        source = std::move(file);
    } else {
        // No log: the user types the game's lines as the script waits for them.
        auto lines = std::make_unique<LineSource>(QStringList(), true);
        typed = lines.get();
        source = std::move(lines);
    }
    const QByteArray utf8 = m_editor->utf8().toByteArray();
    RunOptions options;
    options.arguments = m_arguments->text().split(u' ', Qt::SkipEmptyParts);
    for (const QString &pair : m_globals->text().split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals > 0)
            options.globals.insert(pair.first(equals).remove(u'$'), pair.sliced(equals + 1));
    }
    const int dialect = m_dialect->currentIndex();
    options.dialect = dialect == 1                        ? Dialect::Classic
                      : dialect == 2 || looksModern(utf8) ? Dialect::Modern
                                                          : Dialect::Classic;
    const QString folder = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    m_program = std::make_unique<RunProgram>(
        QString::fromUtf8(utf8), options.dialect, IncludeSearch(folder, folder));
    m_source = std::move(source);
    m_typed = typed;
    m_runner = std::make_unique<ScriptRunner>(*m_program, options, *m_source);
    m_trace->clear();
    m_sent->clear();
    m_logLines->clear();
    m_pendingTrace = m_pendingSent = m_pendingLog = {};
    m_runner->onEvent = [this](const RunEvent &event) {
        const RunProgram::Line &line = m_program->lines()[std::size_t(event.line)];
        const QString text
            = QStringLiteral("%1: %2 -> %3").arg(line.line + 1).arg(line.text, runEventText(event));
        add(m_pendingTrace, text, line.file.isEmpty() ? line.line : -1);
        if (event.kind == RunEvent::Kind::Sent)
            add(m_pendingSent, event.text);
    };
    m_runner->onLineRead = [this](qint64 number, QStringView text) {
        add(m_pendingLog, QStringLiteral("%1: %2").arg(number).arg(text));
    };
    return true;
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
    m_source.reset();
    m_program.reset();
    markCurrentLine(-1);
    if (wasRunning)
        setStatus(tr("Stopped."));
    showState();
}

bool ScriptRunnerWindow::atBreakpoint(int programLine) const
{
    const RunProgram::Line &line = m_program->lines()[std::size_t(programLine)];
    return line.file.isEmpty() && m_editor && line.line < m_editor->linecount()
           && (m_editor->marginMask(line.line) & breakpointBit);
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
    for (bool first = true;; first = false) {
        const ScriptRunner::Outcome outcome = m_runner->step();
        if (outcome != ScriptRunner::Outcome::Ran) {
            afterRun(outcome);
            return;
        }
        const int next = m_runner->currentLine();
        const bool stepDone
            = m_until == Until::Step
              || (m_until == Until::StepOver && int(m_runner->callStack().size()) <= m_depth);
        if (stepDone || (next < lines && atBreakpoint(next) && !first)
            || (m_until == Until::Breakpoint && next < lines && atBreakpoint(next))) {
            m_slices.stop();
            setStatus(stepDone ? tr("Paused.") : tr("Paused at a breakpoint."));
            showState();
            return;
        }
        if (clock.elapsed() >= sliceMs) {
            flushPanes();
            setStatus(tr("Running... (%1 steps)").arg(m_runner->steps()));
            m_slices.start();
            return;
        }
    }
}

void ScriptRunnerWindow::afterRun(ScriptRunner::Outcome outcome)
{
    m_slices.stop();
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
    add(m_pendingTrace, m_status->text(), line - 1);
    flushPanes();
    m_runner.reset(); // the run is over; its values stay on show
    markCurrentLine(-1);
    m_stepInto->setEnabled(true);
    m_stop->setEnabled(false);
}

void ScriptRunnerWindow::flushPanes()
{
    flush(m_pendingTrace, *m_trace);
    flush(m_pendingSent, *m_sent);
    flush(m_pendingLog, *m_logLines);
}

void ScriptRunnerWindow::showState()
{
    flushPanes();
    const bool live = bool(m_runner);
    m_stop->setEnabled(live);
    if (!live)
        return;
    const int next = m_runner->currentLine();
    const int lines = int(m_program->lines().size());
    const RunProgram::Line *line = next < lines ? &m_program->lines()[std::size_t(next)] : nullptr;
    markCurrentLine(line && line->file.isEmpty() ? line->line : -1);

    m_values->clear();
    const RunValues &values = m_runner->values();
    auto add = [this](const QString &name, const QString &value) {
        new QTreeWidgetItem(m_values, {name, value});
    };
    for (qsizetype i = 0; i < values.arguments.size() && i < 9; ++i)
        add(QStringLiteral("%%1").arg(i + 1), values.arguments[i]);
    add(QStringLiteral("%c"), numberText(values.counter));
    add(QStringLiteral("%s"), values.saved);
    for (auto it = values.variables.cbegin(); it != values.variables.cend(); ++it)
        add(u'%' + it.key().toLower(), it.value());
    for (auto it = values.globals.cbegin(); it != values.globals.cend(); ++it)
        add(u'$' + it.key().toLower(), it.value());
    m_matches->clear();
    for (const PendingMatch &match : m_runner->pendingMatches())
        m_matches->addItem(QStringLiteral("%1: %2").arg(match.label, match.text));
}

void ScriptRunnerWindow::markCurrentLine(int line)
{
    if (m_editor && m_markedLine >= 0 && m_markedLine < m_editor->linecount())
        m_editor->setMarginMask(m_markedLine, m_editor->marginMask(m_markedLine) & ~nextLineBit);
    m_markedLine = line;
    if (m_editor && line >= 0 && line < m_editor->linecount())
        m_editor->setMarginMask(line, m_editor->marginMask(line) | nextLineBit);
}

int ScriptRunnerWindow::currentLine() const
{
    return m_runner ? m_markedLine : -1;
}

} // namespace Korveth
