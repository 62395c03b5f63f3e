// ScriptRunner's waits: how they consume the game's lines, what each is for, and the actions
// that fire on every line on the way.
#include "ScriptRunner.h"

namespace Korveth {

QString ScriptRunner::waitingFor() const
{
    if (!m_wait)
        return {};
    switch (m_wait->kind) {
    case Wait::Kind::Match: {
        QStringList texts;
        for (const PendingMatch &match : m_matches)
            texts.append(QStringLiteral("\"%1\"").arg(match.text()));
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

bool ScriptRunner::satisfies(const Wait &wait, const GameLine *line)
{
    switch (wait.kind) {
    case Wait::Kind::Match: {
        const quint64 plainHits = line->holds(matchTexts());
        for (std::size_t i = 0; i < m_matches.size(); ++i) {
            const RunProgram::Jump &jump = *m_matches[i].jump;
            const bool hit = jump.pattern ? matches(*jump.pattern, *line, m_matches[i].line)
                             : i < FoldedTextSet::maxTexts ? (plainHits >> i) & 1
                                                           : line->contains(jump.folded);
            if (hit) {
                // Told while the match's texts stand: a text the script made goes with the others.
                tell(RunEvent::Kind::MatchFired, jump.label, m_source.lineNumber());
                if (jump.target >= 0) {
                    m_pc = jump.target;
                    clearMatches();
                } else {
                    const QString label = jump.label.toString();
                    clearMatches();
                    this->jump(label); // a missing label ends the run
                }
                return true;
            }
        }
        return false;
    }
    case Wait::Kind::Text:
        return line->contains(*wait.folded);
    case Wait::Kind::Pattern:
        return matches(*wait.pattern, *line, m_current);
    case Wait::Kind::Room:
        return line->contains(m_roomTexts[0]) || line->contains(m_roomTexts[1]);
    case Wait::Kind::AnyLine:
        return true;
    case Wait::Kind::Eval:
        if (const auto values = substituted(wait.text))
            return evaluate(values->text).truth();
        return false;
    case Wait::Kind::Pause:
        return false;
    }
    return false;
}

const FoldedTextSet &ScriptRunner::matchTexts()
{
    const bool same = m_matchTextsFor.size() == m_matches.size()
                      && std::equal(m_matches.begin(),
                                    m_matches.end(),
                                    m_matchTextsFor.begin(),
                                    [](const PendingMatch &match, const RunProgram::Jump *jump) {
                                        return match.jump == jump;
                                    });
    if (!same) {
        m_matchTextsFor.clear();
        std::vector<const FoldedText *> texts;
        for (const PendingMatch &match : m_matches) {
            m_matchTextsFor.push_back(match.jump);
            texts.push_back(match.jump->pattern ? nullptr : &match.jump->folded);
        }
        m_matchTexts.assign(texts);
    }
    return m_matchTexts;
}

void ScriptRunner::indexActionTexts()
{
    m_actionTextsStale = false;
    std::vector<const FoldedText *> texts;
    for (Action &action : m_actions) {
        action.texts = 0;
        std::vector<const FoldedText *> own;
        if (action.pattern) {
            for (const FoldedText &text : action.pattern->neededTexts())
                own.push_back(&text);
        } else if (!action.eval) {
            own.push_back(&action.folded);
        }
        if (own.empty() || texts.size() + own.size() > FoldedTextSet::maxTexts)
            continue; // looked at on every line
        for (const FoldedText *text : own) {
            action.texts |= quint64(1) << texts.size();
            texts.push_back(text);
        }
    }
    m_actionTexts.assign(texts);
}

// Runs the actions on a game line; false when the run stopped in one.
bool ScriptRunner::onGameLine(const GameLine &line)
{
    gameLineRead();
    if (m_actions.isEmpty())
        return true;
    if (m_actionTextsStale)
        indexActionTexts();
    const quint64 hits = line.holds(m_actionTexts);
    for (const Action &action : std::as_const(m_actions)) {
        if (action.texts && !(hits & action.texts))
            continue; // none of the texts its trigger needs is in the line
        if (!action.group.isEmpty() && m_groupsOff.contains(action.group))
            continue;
        bool hit = false;
        if (action.eval) {
            const auto values = substituted(action.text);
            if (!values)
                return false;
            hit = evaluate(values->text).truth();
        } else {
            hit = action.pattern ? matches(*action.pattern, line, action.line)
                                 : action.texts != 0 || line.contains(action.folded);
        }
        if (m_finding)
            return false;
        if (!hit)
            continue;
        tell(RunEvent::Kind::ActionFired, action.command, m_source.lineNumber());
        const auto values = substituted(action.command);
        if (!values || !execute(values->text, true) || !checkValues())
            return false;
    }
    return true;
}

ScriptRunner::Outcome ScriptRunner::continueWait(qint64 lineBudget)
{
    Wait &wait = *m_wait;
    if (wait.kind == Wait::Kind::Eval && satisfies(wait, nullptr)) {
        m_wait.reset();
        return Outcome::Ran;
    }
    for (qint64 read = 0;; ++read) {
        if (m_actionJump) {
            const QString label = *std::exchange(m_actionJump, std::nullopt);
            m_wait.reset();
            clearMatches();
            if (!jump(label))
                return Outcome::Finished;
            tell(RunEvent::Kind::Jumped, label);
            return Outcome::Ran;
        }
        const double arrival = double(m_linesConsumed + 1) * m_options.lineSeconds;
        if (wait.deadline && arrival > *wait.deadline) {
            m_clock = qMax(m_clock, *wait.deadline);
            gameLineRead();
            if (wait.kind == Wait::Kind::Match) {
                clearMatches();
                tell(RunEvent::Kind::TimedOut, {});
            }
            m_wait.reset();
            return Outcome::Ran;
        }
        if (read >= lineBudget)
            return Outcome::Ran; // still waiting
        const GameLine *text = m_source.next();
        if (text && (m_tagged || m_untaggedLines < untaggedLinesToDecide)) {
            // A tagged log: the globals its tags set, and the text a player sees.
            m_tagged = m_tagged || GameMarkup::isTagged(text->text());
            ++m_untaggedLines;
            if (m_tagged) {
                const auto shown = m_markup.read(text->text(), m_values.globals);
                if (!shown)
                    continue; // no game line, and no time passes
                m_shownLine.setText(*shown);
                text = &m_shownLine;
            }
        }
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
            onLineRead(m_source.lineNumber(), text->text());
        if (!onGameLine(*text))
            return Outcome::Finished;
        // An action's goto on this line comes first: the wait it ends does not go on.
        if (m_actionJump)
            continue;
        if (satisfies(wait, text)) {
            if (wait.kind != Wait::Kind::Match)
                tell(RunEvent::Kind::Waited, text->text(), m_source.lineNumber());
            m_wait.reset();
            return m_finding ? Outcome::Finished : Outcome::Ran;
        }
        if (m_finding)
            return Outcome::Finished;
    }
}

} // namespace Korveth
