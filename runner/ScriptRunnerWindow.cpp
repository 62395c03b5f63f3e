#include "ScriptRunnerWindow.h"

#include "WindowFront.h"

#include "Announcer.h"

#include "ButtonClosedDialog.h"
#include "Dialogs.h"
#include "ScriptEditor.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

QPushButton *button(const char *name, const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1StringView(name));
    b->setToolTip(tip);
    b->setAccessibleDescription(tip);
    return b;
}

} // namespace

ScriptRunnerWindow::ScriptRunnerWindow(Dialogs &dialogs,
                                       LiveCheckSettings &includes,
                                       QWidget *parent)
    : QWidget(parent, ownedWindow)
    , m_dialogs(dialogs)
    , m_includes(includes)
    , m_log(new QLineEdit)
    , m_arguments(new QLineEdit)
    , m_globals(new QLineEdit)
    , m_globalsFile(new QLineEdit)
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
    , m_traceView(new QListView)
    , m_sentView(new QListView)
    , m_logView(new QListView)
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
    m_globalsFile->setObjectName(QStringLiteral("txtGlobalsFile"));
    m_globalsFile->setPlaceholderText(tr("a file of name=value lines"));
    Announcer::sayChoices(*m_dialect);
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
    auto *browseGlobals = button("cmdGlobalsFile",
                                 tr("Brows&e..."),
                                 tr("Chooses a file of globals, one name=value a line."));
    connect(browseGlobals, &QPushButton::clicked, this, &ScriptRunnerWindow::chooseGlobalsFile);
    auto *globalsRow = new QHBoxLayout;
    globalsRow->addWidget(m_globalsFile, 1);
    globalsRow->addWidget(browseGlobals);
    auto *globalsLabel = new QLabel(tr("Globals &file:"));
    globalsLabel->setBuddy(m_globalsFile);
    form->addRow(globalsLabel, globalsRow);
    form->addRow(tr("&Dialect:"), m_dialect);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_run, m_stepInto, m_stepOver, m_continue, m_stop})
        buttons->addWidget(b);
    buttons->addStretch();

    m_traceView->setObjectName(QStringLiteral("lstTrace"));
    m_sentView->setObjectName(QStringLiteral("lstSent"));
    m_logView->setObjectName(QStringLiteral("lstLog"));
    m_traceView->setModel(&m_trace);
    m_sentView->setModel(&m_sent);
    m_logView->setModel(&m_logLines);
    for (QListView *list : {m_traceView, m_sentView, m_logView}) {
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Thousands of one-line rows: laid out as one height, not each measured.
        list->setUniformItemSizes(true);
    }
    m_matches->setObjectName(QStringLiteral("lstMatches"));
    m_values->setObjectName(QStringLiteral("treeValues"));
    m_values->setHeaderLabels({tr("Name"), tr("Value")});
    // The panes sit in tabs without labels of their own: a screen reader says these names.
    m_traceView->setAccessibleName(tr("What the script did"));
    m_sentView->setAccessibleName(tr("Text sent"));
    m_logView->setAccessibleName(tr("Log lines read"));
    m_matches->setAccessibleName(tr("Pending matches"));
    m_values->setAccessibleName(tr("Values"));
    m_status->setAccessibleDescription(tr("What the run is doing"));
    m_values->setRootIsDecorated(false);
    auto *left = new QTabWidget;
    left->addTab(m_traceView, tr("&What it did"));
    left->addTab(m_sentView, tr("Text &sent"));
    left->addTab(m_logView, tr("Log li&nes"));
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
    typed->addRow(tr("Game te&xt:"), m_gameLine);
    layout->addLayout(typed);
    layout->addWidget(m_status);
    resize(760, 520);

    connect(m_run, &QPushButton::clicked, this, &ScriptRunnerWindow::startRun);
    connect(m_stepInto, &QPushButton::clicked, this, &ScriptRunnerWindow::stepInto);
    connect(m_stepOver, &QPushButton::clicked, this, &ScriptRunnerWindow::stepOver);
    connect(m_continue, &QPushButton::clicked, this, &ScriptRunnerWindow::continueRun);
    connect(m_stop, &QPushButton::clicked, this, &ScriptRunnerWindow::stopRun);
    connect(m_traceView, &QListView::activated, this, [this](const QModelIndex &index) {
        if (const int line = index.data(RecentLinesModel::ScriptLineRole).toInt(); line >= 0)
            Q_EMIT scriptLineChosen(line);
    });
    m_aheadTimer.setSingleShot(true);
    m_aheadTimer.setInterval(300);
    connect(&m_aheadTimer, &QTimer::timeout, this, &ScriptRunnerWindow::prepareAhead);
    connect(m_dialect, &QComboBox::currentIndexChanged, &m_aheadTimer, qOverload<>(&QTimer::start));
    // The script's keys work here too, so a run can be stepped without going back to it.
    const std::pair<Qt::Key, void (ScriptRunnerWindow::*)()> keys[]
        = {{Qt::Key_F8, &ScriptRunnerWindow::stepInto},
           {Qt::Key_F10, &ScriptRunnerWindow::stepOver},
           {Qt::Key_F9, &ScriptRunnerWindow::toggleBreakpoint},
           {Qt::Key_F5, &ScriptRunnerWindow::continueRun}};
    for (const auto &[key, slot] : keys) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
    ButtonClosedDialog::closeOnEscape(*this);
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
    // The title names the script, for there may be several open and only one runs here.
    setWindowTitle(path.isEmpty() ? tr("Script Runner")
                                  : tr("Script Runner - %1").arg(QFileInfo(path).fileName()));
    ++m_revision;
    m_aheadTimer.start();
    if (m_editor) {
        connect(m_editor, &ScriptEditor::editing, this, [this] {
            ++m_revision;
            m_aheadTimer.start();
            if (!m_runner)
                return;
            stopRun();
            setStatus(tr("The script was edited, so the run stopped. Run starts it again."));
        });
    }
}

void ScriptRunnerWindow::setStatus(const QString &text)
{
    const bool changed = text != m_status->text();
    setProgress(text);
    // A pause, an end, a breakpoint: said to a screen reader wherever the focus is.
    if (changed && isVisible())
        Announcer::announce(this, text);
}

void ScriptRunnerWindow::setProgress(const QString &text)
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

void ScriptRunnerWindow::chooseGlobalsFile()
{
    const QString path = m_dialogs.openFileName(tr("Globals"),
                                                {{tr("Text files"), QStringLiteral("*.txt *.ini")},
                                                 {tr("All files"), QStringLiteral("*")}});
    if (!path.isEmpty())
        m_globalsFile->setText(path);
}

void ScriptRunnerWindow::toggleBreakpoint()
{
    if (!m_editor)
        return;
    setStatus(m_editor->toggleBreakpoint(m_editor->selectionRange(false).endLine));
}

void ScriptRunnerWindow::closeEvent(QCloseEvent *event)
{
    stopRun(); // a run nobody can see or stop is not left going
    QWidget::closeEvent(event);
}

void ScriptRunnerWindow::flushPanes()
{
    m_trace.publish();
    m_sent.publish();
    m_logLines.publish();
    for (QListView *list : {m_traceView, m_sentView, m_logView})
        list->scrollToBottom();
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
    markCurrentLine(line && line->inScript() ? line->line : -1);

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
        m_matches->addItem(QStringLiteral("%1: %2").arg(match.label(), match.text()));
}

void ScriptRunnerWindow::markCurrentLine(int line)
{
    if (m_editor && m_markedLine >= 0 && m_markedLine < m_editor->linecount())
        m_editor->setMarginMask(m_markedLine, m_editor->marginMask(m_markedLine) & ~nextLineBit);
    m_markedLine = line;
    if (m_editor && line >= 0 && line < m_editor->linecount()) {
        m_editor->setMarginMask(line, m_editor->marginMask(line) | nextLineBit);
        m_editor->ensureLineVisible(line);
    }
}

int ScriptRunnerWindow::currentLine() const
{
    return m_runner ? m_markedLine : -1;
}

} // namespace Korveth
