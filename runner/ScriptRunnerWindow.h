#pragma once

#include "LogReadAhead.h"
#include "ProgramAhead.h"
#include "RecentLinesModel.h"
#include "ScriptRunner.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace Korveth {

class Dialogs;
class LiveCheckSettings;
class ScriptEditor;

// The Script Runner: the active script run against a recorded session, never the game. Run,
// Step Into (F8), Step Over (F10, a gosub whole), Continue and Stop; the breakpoints are the
// lines F9 marks; the line that runs next carries the margin's arrow. Panes show what was done,
// the values, the pending matches, the text sent and the log around its current line. A run
// goes on in slices between the window's events, so the window always answers; editing the
// script stops it.
class ScriptRunnerWindow final : public QWidget
{
    Q_OBJECT

public:
    // includes: the library included scripts are found in, shared with the live check.
    ScriptRunnerWindow(Dialogs &dialogs, LiveCheckSettings &includes, QWidget *parent = nullptr);
    ~ScriptRunnerWindow() override;

    // The script the next run runs; a run of another script stops.
    void setEditor(ScriptEditor *editor, const QString &path);

    void startRun();
    void stepInto();
    void stepOver();
    void continueRun();
    void stopRun();
    bool running() const { return bool(m_runner); }
    // Whether the program of the script as it stands is made, ahead of the first step.
    bool programMadeAhead() const { return m_ahead.ready(aheadKey()); }
    // The script line (from 0) that runs next; -1 when nothing runs.
    int currentLine() const;
    QString status() const;

    QLineEdit &logPath() const { return *m_log; }
    QLineEdit &arguments() const { return *m_arguments; }
    QLineEdit &globals() const { return *m_globals; }
    QLineEdit &globalsFile() const { return *m_globalsFile; }
    // Without a log, the game's lines are typed here; Enter hands one to the waiting script.
    QLineEdit &gameLine() const { return *m_gameLine; }
    void typeGameLine();
    const RecentLinesModel &trace() const { return m_trace; }
    const RecentLinesModel &sent() const { return m_sent; }

Q_SIGNALS:
    // The user asked to see a script line (from 0), by double-clicking its trace line.
    void scriptLineChosen(int line);

private:
    // The margin's bit for the pointer at the line that runs next (F9's breakpoint is the
    // editor's).
    static constexpr std::uint8_t nextLineBit = 4;
    // How long one slice of a run may hold the window; the game lines a step reads before the
    // clock is looked at again (a line costs a pattern at most a few milliseconds).
    static constexpr int sliceMs = 15;
    static constexpr qint64 linesPerStep = 8;

    enum class Until { Step, StepOver, Breakpoint };
    bool prepare();
    ProgramAhead::Key aheadKey() const;
    void prepareAhead();
    void runSlice();
    void afterRun(ScriptRunner::Outcome outcome);
    // The log being read ahead has lines ready again, has ended, or cannot be read.
    void logTold();
    void showState();
    void markCurrentLine(int line);
    void setStatus(const QString &text);
    // A status that follows a run's progress, shown and not said.
    void setProgress(const QString &text);
    bool atBreakpoint(int programLine) const;
    // "line 5: put again", as the status names the line that runs next.
    QString describeLine(int programLine) const;
    void chooseLog();
    void chooseGlobalsFile();
    // F9 here as in the script: a breakpoint on the script's caret line, on or off.
    void toggleBreakpoint();
    void closeEvent(QCloseEvent *event) override;
    // Shows in the panes what the run told since the last time: one layout of a list per slice,
    // not one per line.
    void flushPanes();

    Dialogs &m_dialogs;
    LiveCheckSettings &m_includes;
    QPointer<ScriptEditor> m_editor;
    QString m_path;
    QLineEdit *m_log;
    QLineEdit *m_arguments;
    QLineEdit *m_globals;
    QLineEdit *m_globalsFile; // a profile of NAME=VALUE lines; the Globals field wins over it
    QLineEdit *m_gameLine;
    QComboBox *m_dialect;
    QPushButton *m_run;
    QPushButton *m_stepInto;
    QPushButton *m_stepOver;
    QPushButton *m_continue;
    QPushButton *m_stop;
    RecentLinesModel m_trace;
    RecentLinesModel m_sent;
    RecentLinesModel m_logLines;
    QListView *m_traceView;
    QListView *m_sentView;
    QListView *m_logView;
    QListWidget *m_matches;
    QTreeWidget *m_values;
    QLabel *m_status;
    QTimer m_slices;
    Until m_until = Until::Step;
    int m_depth = 0; // the gosub depth a step over started at
    int m_markedLine = -1;
    std::shared_ptr<const RunProgram> m_program;
    // A long script's program is made while the user reads it, after each pause in the typing.
    ProgramAhead m_ahead;
    QTimer m_aheadTimer;
    quint64 m_revision = 0; // the editor's changes counted, to know what was made ahead
    std::unique_ptr<GameSource> m_source;
    LineSource *m_typed = nullptr;       // m_source, when the lines are typed
    LogReadAhead *m_readAhead = nullptr; // m_source, when the lines come from a log
    bool m_waitingForLog = false;        // the run waits for the log's next lines
    std::unique_ptr<ScriptRunner> m_runner;
};

} // namespace Korveth
