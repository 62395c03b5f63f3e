// How a dry run's waits consume the game's lines: what each wait is for, and the actions that
// fire on every line on the way.
#include "ScriptRunner.h"

namespace Korveth {

namespace {

bool isRoomLine(QStringView text)
{
    return text.contains(u"Obvious exits:", Qt::CaseInsensitive)
           || text.contains(u"Obvious paths:", Qt::CaseInsensitive);
}

} // namespace

QString ScriptRunner::waitingFor() const
{
    if (!m_wait)
        return {};
    switch (m_wait->kind) {
    case Wait::Kind::Match: {
        QStringList texts;
        for (const PendingMatch &match : m_matches)
            texts.append(u'"' + match.text + u'"');
        return texts.isEmpty() ? QStringLiteral("a match, with none set") : texts.join(u", ");
    }
    case Wait::Kind::Text:
    case Wait::Kind::Pattern:
        return u'"' + m_wait->text + u'"';
    case Wait::Kind::Room:
        return QStringLiteral("the room to change (\"Obvious exits:\")");
    case Wait::Kind::AnyLine:
        return QStringLiteral("a game line");
    case Wait::Kind::Eval:
        return QStringLiteral("%1 to be true").arg(m_wait->text);
    case Wait::Kind::Pause:
        return QStringLiteral("time to pass");
    }
    return {};
}

bool ScriptRunner::satisfies(const Wait &wait, QStringView text, QStringView folded)
{
    switch (wait.kind) {
    case Wait::Kind::Match:
        for (const PendingMatch &match : m_matches) {
            const bool hit = match.pattern   ? match.pattern->match(text).hasMatch()
                             : match.matcher ? match.matcher->indexIn(folded) >= 0
                                             : folded.contains(match.folded);
            if (hit) {
                const QString label = match.label;
                const int target = match.target;
                m_matches.clear();
                tell(RunEvent::Kind::MatchFired, label, m_source.lineNumber());
                if (target >= 0)
                    m_pc = target;
                else
                    jump(label); // a missing label ends the run
                return true;
            }
        }
        return false;
    case Wait::Kind::Text:
        return folded.contains(wait.folded);
    case Wait::Kind::Pattern:
        return wait.pattern->match(text).hasMatch();
    case Wait::Kind::Room:
        return isRoomLine(text);
    case Wait::Kind::AnyLine:
        return true;
    case Wait::Kind::Eval:
        return evaluateExpression(m_values.substitute(wait.text).text).truth();
    case Wait::Kind::Pause:
        return false;
    }
    return false;
}

// Runs the actions on a game line; false when the run stopped in one.
bool ScriptRunner::onGameLine(QStringView text, QStringView folded)
{
    m_stepsSinceWait = 0;
    for (const Action &action : std::as_const(m_actions)) {
        const bool hit = action.pattern ? action.pattern->match(text).hasMatch()
                                        : folded.contains(action.folded);
        if (!hit)
            continue;
        tell(RunEvent::Kind::ActionFired, action.command, m_source.lineNumber());
        if (!execute(m_values.substitute(action.command).text, true))
            return false;
    }
    return true;
}

ScriptRunner::Outcome ScriptRunner::continueWait()
{
    Wait &wait = *m_wait;
    if (wait.kind == Wait::Kind::Eval && satisfies(wait, {}, {})) {
        m_wait.reset();
        return Outcome::Ran;
    }
    for (;;) {
        if (m_actionJump) {
            const QString label = *std::exchange(m_actionJump, std::nullopt);
            m_wait.reset();
            m_matches.clear();
            if (!jump(label))
                return Outcome::Finished;
            tell(RunEvent::Kind::Jumped, label);
            return Outcome::Ran;
        }
        const double arrival = double(m_linesConsumed + 1) * m_options.lineSeconds;
        if (wait.deadline && arrival > *wait.deadline) {
            m_clock = qMax(m_clock, *wait.deadline);
            m_stepsSinceWait = 0;
            if (wait.kind == Wait::Kind::Match) {
                m_matches.clear();
                tell(RunEvent::Kind::TimedOut, {});
            }
            m_wait.reset();
            return Outcome::Ran;
        }
        const std::optional<QStringView> text = m_source.next();
        if (!text) {
            if (m_source.mayGrow())
                return Outcome::NeedsInput;
            if (wait.deadline) {
                // No more text, but time goes on: the wait runs out.
                m_linesConsumed = qint64(*wait.deadline / m_options.lineSeconds);
                continue;
            }
            finish(RunFinding::Kind::LogRanOut,
                   QStringLiteral("the log ran out while waiting for %1").arg(waitingFor()));
            return Outcome::Finished;
        }
        ++m_linesConsumed;
        m_clock = qMax(m_clock, arrival);
        if (onLineRead)
            onLineRead(m_source.lineNumber(), *text);
        foldForMatching(*text, m_folded);
        if (!onGameLine(*text, m_folded))
            return Outcome::Finished;
        if (satisfies(wait, *text, m_folded)) {
            if (wait.kind != Wait::Kind::Match)
                tell(RunEvent::Kind::Waited, text->toString(), m_source.lineNumber());
            m_wait.reset();
            return m_finding ? Outcome::Finished : Outcome::Ran;
        }
    }
}

} // namespace Korveth
