#include "ScriptRunner.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"

#include <QRegularExpression>
#include <algorithm>
#include <set>
#include <utility>

namespace Korveth {

namespace {

// How many lines just run are kept to name an endless loop's lines.
constexpr std::size_t recentKept = 512;

} // namespace

QString runFindingName(RunFinding::Kind kind)
{
    using K = RunFinding::Kind;
    switch (kind) {
    case K::Ended:
        return QStringLiteral("ended");
    case K::LogRanOut:
        return QStringLiteral("log-ran-out");
    case K::EndlessLoop:
        return QStringLiteral("endless-loop");
    case K::ReturnWithoutGosub:
        return QStringLiteral("return-without-gosub");
    case K::MissingLabel:
        return QStringLiteral("missing-label");
    case K::BadPattern:
        return QStringLiteral("bad-pattern");
    case K::SlowPattern:
        return QStringLiteral("slow-pattern");
    case K::CannotKnow:
        return QStringLiteral("cannot-know");
    case K::TooDeep:
        return QStringLiteral("too-deep");
    case K::BadNumber:
        return QStringLiteral("bad-number");
    case K::StepLimit:
        return QStringLiteral("step-limit");
    case K::TooLarge:
        return QStringLiteral("too-large");
    }
    return {};
}

QString runEventName(RunEvent::Kind kind)
{
    using K = RunEvent::Kind;
    switch (kind) {
    case K::Sent:
        return QStringLiteral("sent");
    case K::Echoed:
        return QStringLiteral("echo");
    case K::MatchFired:
        return QStringLiteral("match");
    case K::Jumped:
        return QStringLiteral("jump");
    case K::Called:
        return QStringLiteral("gosub");
    case K::Returned:
        return QStringLiteral("return");
    case K::Set:
        return QStringLiteral("set");
    case K::TimedOut:
        return QStringLiteral("timeout");
    case K::Waited:
        return QStringLiteral("waited");
    case K::ActionFired:
        return QStringLiteral("action");
    case K::Note:
        return QStringLiteral("note");
    }
    return {};
}

QString runEventText(const RunEvent &event)
{
    QString text = runEventName(event.kind);
    if (!event.text.isEmpty())
        text += QStringLiteral(" \"%1\"").arg(event.text);
    if (event.logLine > 0)
        text += QStringLiteral(" (log line %1)").arg(event.logLine);
    return text;
}

ScriptRunner::ScriptRunner(const RunProgram &program, RunOptions options, GameSource &source)
    : m_program(program)
    , m_options(std::move(options))
    , m_source(source)
    , m_random(m_options.seed)
    , m_ranInWait(program.lines().size(), 0)
{
    m_values.arguments = m_options.arguments;
    for (auto it = m_options.globals.cbegin(); it != m_options.globals.cend(); ++it)
        m_values.globals.insert(upperCased(it.key()), it.value());
    for (const auto &[at, why] : program.missingIncludes())
        m_notes.append({at, RunFinding::Kind::CannotKnow, why});
}

QList<int> ScriptRunner::callStack() const
{
    QList<int> lines;
    for (const Frame &frame : m_frames)
        lines.append(frame.callLine);
    return lines;
}

const QStringList &ScriptRunner::argumentsAt(qsizetype depth) const
{
    // A gosub keeps its caller's arguments to give them back on return.
    return depth >= 0 && depth < qsizetype(m_frames.size()) ? m_frames[std::size_t(depth)].arguments
                                                            : m_values.arguments;
}

void ScriptRunner::tell(RunEvent::Kind kind, QStringView text, qint64 logLine)
{
    if (onEvent)
        onEvent({m_current, kind, text.toString(), logLine});
}

void ScriptRunner::finish(RunFinding::Kind kind, QString text, int at)
{
    if (!m_finding)
        m_finding = RunFinding{at < 0 ? m_current : at, kind, std::move(text)};
}

bool ScriptRunner::cannotKnow(QString text)
{
    if (m_options.stopOnUnknown) {
        finish(RunFinding::Kind::CannotKnow, std::move(text));
        return false;
    }
    m_notes.append({m_current, RunFinding::Kind::CannotKnow, text});
    tell(RunEvent::Kind::Note, text);
    return true;
}

ScriptRunner::Outcome ScriptRunner::run(const std::function<bool(int line)> &breakAt)
{
    for (bool first = true;; first = false) {
        if (!first && !m_wait && breakAt && m_pc < int(m_program.lines().size()) && breakAt(m_pc))
            return Outcome::Ran;
        const Outcome outcome = step();
        if (outcome != Outcome::Ran)
            return outcome;
    }
}

QString ScriptRunner::loopLines() const
{
    const std::set<int> lines(m_recent.begin(), m_recent.end());
    QStringList numbers;
    for (int at : lines)
        numbers.append(QString::number(line(at).line + 1));
    return numbers.join(u", ");
}

ScriptRunner::Outcome ScriptRunner::step(qint64 lineBudget)
{
    if (m_finding)
        return Outcome::Finished;
    if (m_wait)
        return continueWait(lineBudget);
    if (m_pc >= int(m_program.lines().size())) {
        m_current = qMax(0, int(m_program.lines().size()) - 1);
        finish(RunFinding::Kind::Ended, QStringLiteral("the script ran to its end"));
        return Outcome::Finished;
    }
    m_current = m_pc++;
    if (++m_steps > m_options.maxSteps) {
        finish(RunFinding::Kind::StepLimit,
               QStringLiteral("stopped after %1 steps").arg(m_options.maxSteps));
        return Outcome::Finished;
    }
    // A ring: the oldest is overwritten.
    if (m_recent.size() < recentKept)
        m_recent.push_back(m_current);
    else
        m_recent[std::size_t(m_steps) % recentKept] = m_current;
    // Only a line run again can make a loop: a long run of straight lines is no loop.
    if (std::exchange(m_ranInWait[std::size_t(m_current)], m_waitNumber) == m_waitNumber
        && ++m_stepsSinceWait > m_options.maxStepsWithoutWaiting) {
        finish(RunFinding::Kind::EndlessLoop,
               QStringLiteral("%1 steps without waiting for the game, in a loop of lines %2")
                   .arg(m_options.maxStepsWithoutWaiting)
                   .arg(loopLines()));
        return Outcome::Finished;
    }
    const bool fromFalseBranch = std::exchange(m_arrivedFromFalseBranch, false);
    const RunProgram::Line &at = line(m_current);
    m_work += 1 + at.length;
    using C = RunProgram::Command;
    if (at.command == C::Nothing || at.command == C::Label)
        return Outcome::Ran;
    const QStringView raw = at.text();
    if (at.command == C::BlockEnd) {
        const QStringView after = trimmedView(raw.sliced(1));
        if (!fromFalseBranch) {
            // The end of a branch that ran: the chain's other branches are passed over.
            m_lastBranchTaken = true;
            if (!after.isEmpty() && at.close >= 0)
                m_pc = at.close;
            return Outcome::Ran;
        }
        m_lastBranchTaken = false;
        if (after.isEmpty())
            return Outcome::Ran;
        const auto values = substituted(after);
        if (!values)
            return Outcome::Finished;
        const auto [word, rest] = firstWordAndRest(values->text);
        return executeConditional(word, rest, false) ? Outcome::Ran : Outcome::Finished;
    }
    // An action keeps its command's values to be put in as it fires; its trigger's are put in
    // as it is defined.
    if (!at.hasValues || at.command == C::Action) {
        if (!execute(raw, false, &at) || !checkValues())
            return Outcome::Finished;
        return m_wait ? continueWait(lineBudget) : Outcome::Ran;
    }
    const auto values = substituted(raw);
    if (!values)
        return Outcome::Finished;
    for (const QString &name : values->unknownGlobals) {
        if (!cannotKnow(
                QStringLiteral("$%1 was never given%2").arg(name, otherGlobalsNeeded(name))))
            return Outcome::Finished;
    }
    if (!execute(values->text, false, &at) || !checkValues())
        return Outcome::Finished;
    return m_wait ? continueWait(lineBudget) : Outcome::Ran;
}

void ScriptRunner::gameLineRead()
{
    m_stepsSinceWait = 0;
    if (++m_waitNumber == 0) {
        std::fill(m_ranInWait.begin(), m_ranInWait.end(), 0);
        m_waitNumber = 1;
    }
}

std::optional<RunValues::Substituted> ScriptRunner::substituted(QStringView line)
{
    RunValues::Substituted values = m_values.substitute(line, m_options.maxLineCharacters);
    m_work += values.text.size();
    if (values.tooLong) {
        finish(RunFinding::Kind::TooLarge,
               QStringLiteral("with its values put in, the line would be longer than %1 "
                              "characters: a value grows without end")
                   .arg(m_options.maxLineCharacters));
        return std::nullopt;
    }
    if (m_work > m_options.maxWork) {
        finish(RunFinding::Kind::StepLimit,
               QStringLiteral("stopped after %1 steps that handled %2 characters")
                   .arg(m_steps)
                   .arg(m_work));
        return std::nullopt;
    }
    return values;
}

bool ScriptRunner::checkValues()
{
    if (m_values.characters() <= m_options.maxValueCharacters)
        return true;
    finish(RunFinding::Kind::TooLarge,
           QStringLiteral("the script's values hold more than %1 characters together")
               .arg(m_options.maxValueCharacters));
    return false;
}

bool ScriptRunner::jump(QStringView label)
{
    const int at = m_program.labelLine(label);
    if (at < 0 && label.isEmpty()) {
        // `goto %1` in a script started without arguments: the player's input, not a mistake.
        static const QRegularExpression argument(QStringLiteral("%([1-9])"));
        const QRegularExpressionMatch used = argument.match(line(m_current).text());
        if (used.hasMatch() && used.captured(1).toInt() > m_values.arguments.size()) {
            finish(RunFinding::Kind::CannotKnow,
                   QStringLiteral("%%1 was never given, so the label's name is empty")
                       .arg(used.captured(1)));
            return false;
        }
    }
    if (at < 0) {
        finish(RunFinding::Kind::MissingLabel,
               QStringLiteral("there is no label %1").arg(label.toString()));
        return false;
    }
    m_pc = at;
    return true;
}

bool ScriptRunner::executeConditional(QStringView word, QStringView rest, bool inAction)
{
    const bool isElse = equalsWord(word, QLatin1StringView("else"));
    const bool isElseif = equalsWord(word, QLatin1StringView("elseif"));
    const int close = line(m_current).close;
    auto skip = [&] {
        if (close >= 0 && !inAction)
            m_pc = close;
        return true;
    };
    if ((isElse || isElseif) && m_lastBranchTaken)
        return skip();
    if (isElse) {
        const auto [next, after] = firstWordAndRest(rest);
        if (equalsWord(next, QLatin1StringView("if")))
            return executeConditional(u"elseif", after, inAction);
        m_lastBranchTaken = true;
        const QStringView command = rest.endsWith(u'{') ? trimmedView(rest.chopped(1)) : rest;
        return command.isEmpty() || execute(command, inAction);
    }
    const qsizetype then = thenAt(rest);
    QStringView condition = then >= 0 ? rest.first(then) : rest;
    QStringView command = then >= 0 ? trimmedView(rest.sliced(then + 4)) : QStringView();
    if (then < 0 && condition.endsWith(u'{'))
        condition.chop(1);
    if (command.endsWith(u'{'))
        command = trimmedView(command.chopped(1));
    const ExpressionValue value = evaluate(condition);
    if (!value.error.isEmpty())
        return cannotKnow(
            QStringLiteral("the condition cannot be worked out: %1").arg(value.error));
    m_lastBranchTaken = value.truth();
    if (!value.captures.isEmpty()) {
        m_values.captures = value.captures;
        // The command after "then" sees what the condition's matchre() captured.
        if (m_lastBranchTaken && !inAction && !command.isEmpty()) {
            const auto [ifWord, rawRest] = firstWordAndRest(line(m_current).text());
            const qsizetype rawThen = thenAt(rawRest);
            QStringView rawCommand
                = rawThen >= 0 ? trimmedView(rawRest.sliced(rawThen + 4)) : QStringView();
            if (rawCommand.endsWith(u'{'))
                rawCommand = trimmedView(rawCommand.chopped(1));
            if (!rawCommand.isEmpty()) {
                const auto values = substituted(rawCommand);
                return values && execute(values->text, inAction);
            }
        }
    }
    if (m_lastBranchTaken)
        return command.isEmpty() || execute(command, inAction);
    if (close >= 0 && !inAction) {
        m_pc = close;
        m_arrivedFromFalseBranch = true;
    }
    return true;
}

std::optional<double> ScriptRunner::numberOrFinding(QStringView text)
{
    const auto number = numberOf(text);
    if (!number)
        finish(RunFinding::Kind::BadNumber,
               QStringLiteral("\"%1\" is not a number").arg(text.toString()));
    return number;
}

// The other $ globals the script's lines name that nobody gave, so that one run tells them all:
// ", nor $a, $b (the script reads them too)"; empty when there are none.
QString ScriptRunner::otherGlobalsNeeded(const QString &found) const
{
    QStringList names;
    for (const RunProgram::Line &line : m_program.lines()) {
        const QStringView text = line.text();
        for (qsizetype at = text.indexOf(u'$'); at >= 0 && names.size() < 20;
             at = text.indexOf(u'$', at + 1)) {
            qsizetype end = at + 1;
            while (end < text.size()
                   && (text[end].isLetterOrNumber() || text[end] == u'_'
                       || (text[end] == u'.' && end + 1 < text.size()
                           && text[end + 1].isLetterOrNumber())))
                ++end;
            const QStringView name = text.sliced(at + 1, end - at - 1);
            if (name.isEmpty() || name[0].isDigit() || m_values.globals.contains(upperCased(name))
                || name.compare(found, Qt::CaseInsensitive) == 0)
                continue;
            if (!names.contains(name.toString(), Qt::CaseInsensitive))
                names.append(name.toString());
        }
    }
    if (names.isEmpty())
        return {};
    return QStringLiteral(", nor $%1 (the script reads them too)").arg(names.join(u", $"));
}

ExpressionValue ScriptRunner::evaluate(QStringView expression) const
{
    return evaluateExpression(
        expression, [this](QStringView name) { return m_values.variable(name).has_value(); });
}

std::optional<RunPattern> ScriptRunner::pattern(QStringView written)
{
    // A wait in a loop asks for its pattern again and again: compiled once.
    const QString key = written.toString();
    if (const auto known = m_patterns.constFind(key); known != m_patterns.constEnd())
        return *known;
    if (m_patterns.size() >= maxKnownPatterns)
        m_patterns.clear(); // patterns built from values that keep changing
    RunPattern expression(written);
    if (!expression.isValid()) {
        finish(RunFinding::Kind::BadPattern,
               QStringLiteral("the pattern %1 is not valid: %2")
                   .arg(written.toString(), expression.error()));
        return std::nullopt;
    }
    m_patterns.insert(key, expression);
    return expression;
}

bool ScriptRunner::matches(const RunPattern &pattern, const GameLine &line, int at)
{
    if (!pattern.mayMatch(line))
        return false;
    switch (pattern.match(line.text())) {
    case RunPattern::Result::Match:
        m_values.captures = pattern.groups(line.text());
        return true;
    case RunPattern::Result::NoMatch:
        return false;
    case RunPattern::Result::TooCostly:
        break;
    }
    finish(
        RunFinding::Kind::SlowPattern,
        QStringLiteral("the pattern %1 takes more than a million steps on log line %2, so the run "
                       "stops there")
            .arg(pattern.written())
            .arg(m_source.lineNumber()),
        at);
    return false;
}

} // namespace Korveth
