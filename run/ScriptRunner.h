#pragma once

#include "GameMarkup.h"
#include "GameSource.h"
#include "RunExpression.h"
#include "RunProgram.h"
#include "RunValues.h"

#include <QRandomGenerator>
#include <QSet>

#include <deque>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace Korveth {

struct RunOptions
{
    Dialect dialect = Dialect::Modern;
    QStringList arguments;
    QHash<QString, QString> globals; // $name without the $
    qint64 maxSteps = 1000000;
    // Lines run again without a game line read in between: past this, an endless loop.
    int maxStepsWithoutWaiting = 10000;
    // What one run may handle, so that a run whose lines grow step by step still ends: the
    // characters of the lines it runs, values put in, and of its values all together.
    qint64 maxWork = qint64(1) << 28;
    qsizetype maxLineCharacters = 1024 * 1024;
    qint64 maxValueCharacters = 64 * 1024 * 1024;
    int maxGosubDepth = 10000;
    bool stopOnUnknown = true; // what the dry run cannot know stops it, or is noted and passed
    double lineSeconds = 1;    // the time one game line takes to arrive
    quint32 seed = 1;          // for random
};

// Something the script did, at its program line.
struct RunEvent
{
    enum class Kind {
        Sent,
        Echoed,
        MatchFired,
        Jumped,
        Called,
        Returned,
        Set,
        TimedOut,
        Waited,
        ActionFired,
        Note
    };
    int line = 0;
    Kind kind = Kind::Note;
    QString text;
    qint64 logLine = 0; // the game line that decided it, from 1; 0 for none
};

// Why a run stopped, or what it noted and passed, at its program line.
struct RunFinding
{
    enum class Kind {
        Ended,
        LogRanOut,
        EndlessLoop,
        ReturnWithoutGosub,
        MissingLabel,
        BadPattern,
        SlowPattern,
        CannotKnow,
        TooDeep,
        BadNumber,
        StepLimit,
        TooLarge
    };
    int line = 0;
    Kind kind = Kind::Ended;
    QString text;
};

// One match or matchre waiting for its matchwait.
struct PendingMatch
{
    const RunProgram::Jump *jump = nullptr; // where it leads, and what it looks for
    int line = 0;

    QStringView label() const { return jump->label; }
    QStringView text() const { return jump->text; }
};

// Runs a script against game text without the game: every command does what it does to the
// script's own state and to the text it would send, and waits consume the source's lines. Never
// sleeps: time is the game lines' (RunOptions::lineSeconds each) and the pauses'.
class ScriptRunner
{
public:
    enum class Outcome { Ran, NeedsInput, Finished };

    ScriptRunner(const RunProgram &program, RunOptions options, GameSource &source);

    // Runs the next line; a line that waits runs until its wait is over, or until lineBudget game
    // lines were read: then it still waits, and the next step goes on with the wait.
    Outcome step(qint64 lineBudget = std::numeric_limits<qint64>::max());
    bool waiting() const { return m_wait.has_value(); }
    // Runs until the script finishes, needs typed input, or a breakpoint's line is next.
    Outcome run(const std::function<bool(int line)> &breakAt = {});

    // The program line that runs next.
    int currentLine() const { return m_pc; }
    // The program line to show as where the run stands: the line that waits, while it waits.
    int lineShown() const { return m_wait ? m_current : m_pc; }
    const RunValues &values() const { return m_values; }
    const std::vector<PendingMatch> &pendingMatches() const { return m_matches; }
    // The program lines of the gosubs being run, outermost first.
    QList<int> callStack() const;
    // The arguments of the frame at depth (0: the outermost) as they are while it runs; depth
    // callStack().size() is the line running now.
    const QStringList &argumentsAt(qsizetype depth) const;
    // What the script is waiting for; empty when it is not waiting.
    QString waitingFor() const;
    qint64 steps() const { return m_steps; }
    double clock() const { return m_clock; }
    const std::optional<RunFinding> &finding() const { return m_finding; }
    const QList<RunFinding> &notes() const { return m_notes; }

    // Everything the script does is told here as it happens; each game line as it is read.
    std::function<void(const RunEvent &)> onEvent;
    std::function<void(qint64 number, QStringView text)> onLineRead;

private:
    struct Wait
    {
        enum class Kind { Match, Text, Pattern, Room, AnyLine, Eval, Pause } kind = Kind::AnyLine;
        QString text{};
        std::optional<RunPattern> pattern{};
        std::optional<double> deadline{};
        std::optional<FoldedText> folded{}; // a waitfor's text
    };
    struct Action
    {
        QString command;
        QString text;
        std::optional<RunPattern> pattern;
        int line = 0;
        FoldedText folded;
        QString group;     // "(class)" written before the command, upper-cased; empty for none
        bool eval = false; // "when eval EXPR": fires on a game line after which EXPR is true
        quint64 texts = 0; // its bits in m_actionTexts; 0: looked at on every line
    };
    // The texts every action's trigger needs, looked for in a game line in one pass: an action
    // whose texts are not in the line is passed over. Made again when the actions change.
    void indexActionTexts();
    FoldedTextSet m_actionTexts;
    bool m_actionTextsStale = true;
    bool defineAction(QStringView rest);
    static constexpr qsizetype maxKnownPatterns = 1000;
    QHash<QString, RunPattern> m_patterns; // compiled, by the text written
    // A log in the game's tagged form, known by a tag in its first lines.
    static constexpr int untaggedLinesToDecide = 50;
    GameMarkup m_markup;
    bool m_tagged = false;
    int m_untaggedLines = 0;
    GameLine m_shownLine;
    QString otherGlobalsNeeded(const QString &found) const;
    // An expression worked out with what the run knows (def() asks its variables).
    ExpressionValue evaluate(QStringView expression) const;
    QSet<QString> m_groupsOff; // action classes turned off
    struct Frame
    {
        int returnTo = 0;
        int callLine = 0;
        QStringList arguments;
        QStringList captures; // the caller's $0 ... $9
    };

    const RunProgram::Line &line(int at) const { return m_program.lines()[std::size_t(at)]; }
    // Texts are made only when someone listens: a run for its findings alone makes none.
    void tell(RunEvent::Kind kind, QStringView text, qint64 logLine = 0);
    // at: the program line it is about, when not the one running.
    void finish(RunFinding::Kind kind, QString text, int at = -1);
    bool cannotKnow(QString text);
    // Runs one command; false when the run stopped in it.
    // prepared: the program line the command comes from, with what was worked out of it.
    bool execute(QStringView command, bool inAction, const RunProgram::Line *prepared = nullptr);
    bool
    executeModern(RunProgram::Command command, QStringView word, QStringView rest, bool inAction);
    bool addMatch(RunProgram::Command command, QStringView rest, const RunProgram::Jump *prepared);
    bool changeCounter(QStringView rest);
    bool doMath(QStringView rest, bool inAction);
    bool executeConditional(QStringView word, QStringView rest, bool inAction);
    bool jump(QStringView label);
    Outcome continueWait(qint64 lineBudget);
    void clearMatches();
    const FoldedTextSet &matchTexts();
    bool onGameLine(const GameLine &line);
    bool satisfies(const Wait &wait, const GameLine *line);
    std::optional<RunPattern> pattern(QStringView written);
    // Whether the pattern, from program line at, matches the game line; a line that costs it
    // too much ends the run.
    bool matches(const RunPattern &pattern, const GameLine &line, int at);
    std::optional<double> numberOrFinding(QStringView text);
    QString loopLines() const;

    const RunProgram &m_program;
    RunOptions m_options;
    GameSource &m_source;
    RunValues m_values;
    QRandomGenerator m_random;
    int m_pc = 0;
    std::vector<Frame> m_frames;
    std::vector<PendingMatch> m_matches;
    // Matches whose text held values, with the text their views look into.
    struct MadeJump
    {
        QString written;
        RunProgram::Jump jump;
    };
    std::deque<MadeJump> m_madeJumps;
    // The plain texts of the pending matches, looked for in one pass over a line; made again
    // when the pending matches are not the ones it was made for.
    FoldedTextSet m_matchTexts;
    std::vector<const RunProgram::Jump *> m_matchTextsFor;
    QList<Action> m_actions;
    std::optional<Wait> m_wait;
    std::optional<QString> m_actionJump; // a goto an action asked for
    double m_clock = 0;
    std::optional<double> m_timerStart;
    qint64 m_linesConsumed = 0;
    qint64 m_steps = 0;
    // Whether a line runs again since the game last gave a line: the wait each line last ran in.
    void gameLineRead();
    std::vector<quint32> m_ranInWait;
    quint32 m_waitNumber = 1;
    int m_stepsSinceWait = 0; // lines run again since a game line
    qint64 m_work = 0;
    // The line with its values put in; nothing, and the run stopped, when it would be too long.
    std::optional<RunValues::Substituted> substituted(QStringView line);
    bool checkValues();
    std::vector<int> m_recent; // the last lines run, for naming a loop
    bool m_lastBranchTaken = false;
    bool m_arrivedFromFalseBranch = false;
    int m_current = 0; // the line being run
    const FoldedText m_roomTexts[2]{FoldedText(u"Obvious exits:"), FoldedText(u"Obvious paths:")};
    std::optional<RunFinding> m_finding;
    QList<RunFinding> m_notes;
};

// The words of a finding and an event kind as the trace prints them.
QString runFindingName(RunFinding::Kind kind);
QString runEventName(RunEvent::Kind kind);
// What an event did, as every trace shows it: its name, its text quoted, the log line.
QString runEventText(const RunEvent &event);

} // namespace Korveth
