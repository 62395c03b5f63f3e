// ScriptRunner's commands: what each command does in a dry run.
#include "ScriptRunner.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"

namespace Korveth {

namespace {

bool is(QStringView word, const char *lower)
{
    return equalsWord(word, QLatin1StringView(lower));
}

// The arguments of a gosub: words, or "quoted words" kept together.
QStringList argumentsOf(QStringView text)
{
    QStringList words;
    for (qsizetype i = 0; i < text.size();) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        if (i >= text.size())
            break;
        const bool quoted = text[i] == u'"';
        const qsizetype start = i + (quoted ? 1 : 0);
        qsizetype end = start;
        while (end < text.size() && (quoted ? text[end] != u'"' : !text[end].isSpace()))
            ++end;
        words.append(text.sliced(start, end - start).toString());
        i = end + (quoted ? 1 : 0);
    }
    return words;
}

} // namespace

bool ScriptRunner::execute(QStringView command, bool inAction, const RunProgram::Line *prepared)
{
    using C = RunProgram::Command;
    const auto [word, rest] = firstWordAndRest(command);
    const C kind = prepared && prepared->command != C::Dynamic ? prepared->command
                                                               : RunProgram::commandOf(word);
    const RunProgram::Jump *jump
        = prepared && !prepared->hasValues ? m_program.jumpOf(*prepared) : nullptr;
    if (m_options.dialect == Dialect::Classic && !RunProgram::isClassic(kind))
        return cannotKnow(
            QStringLiteral("%1 is not a command of the classic dialect").arg(word.toString()));
    if (inAction && RunProgram::waits(kind))
        return cannotKnow(QStringLiteral("an action cannot wait (%1)").arg(word.toString()));
    switch (kind) {
    case C::Put:
    case C::Send:
        tell(RunEvent::Kind::Sent, rest);
        return true;
    case C::Echo:
        tell(RunEvent::Kind::Echoed, rest);
        return true;
    case C::Exit:
        finish(RunFinding::Kind::Ended, QStringLiteral("exit"));
        return false;
    case C::Goto:
        if (inAction) {
            m_actionJump = rest.toString();
            return true;
        }
        if (jump && jump->target >= 0)
            m_pc = jump->target;
        else if (!this->jump(rest))
            return false;
        tell(RunEvent::Kind::Jumped, rest);
        return true;
    case C::IfArgument: {
        const int n = word[3].digitValue();
        const bool given
            = n == 0 ? !m_values.arguments.isEmpty() : !m_values.arguments.value(n - 1).isEmpty();
        // "if_1 then {" (or "{" on the next line) guards a block, "if_1 then CMD" a command.
        QStringView command = rest;
        if (const auto [first, after] = firstWordAndRest(rest); is(first, "then"))
            command = after;
        if (command.isEmpty() || command == u"{") {
            m_lastBranchTaken = given;
            const int close = line(m_current).close;
            if (!given && close >= 0 && !inAction) {
                m_pc = close;
                m_arrivedFromFalseBranch = true;
            }
            return true;
        }
        return !given || execute(command, inAction);
    }
    case C::Counter:
        return changeCounter(rest);
    case C::Save:
        m_values.saved = rest.toString();
        if (onEvent)
            tell(RunEvent::Kind::Set, QString(QStringLiteral("%s = ") + m_values.saved));
        return true;
    case C::Shift:
        m_values.shift();
        if (onEvent)
            tell(RunEvent::Kind::Set,
                 QString(QStringLiteral("%1 = ") + m_values.arguments.value(0)));
        return true;
    case C::Match:
    case C::Matchre:
        return addMatch(kind, rest, jump);
    case C::Matchwait: {
        Wait wait{.kind = Wait::Kind::Match};
        if (const auto seconds = numberOf(rest))
            wait.deadline = m_clock + *seconds;
        m_wait = std::move(wait);
        return true;
    }
    case C::Waitfor:
        m_wait
            = Wait{.kind = Wait::Kind::Text, .text = rest.toString(), .folded = FoldedText(rest)};
        return true;
    case C::Move:
        tell(RunEvent::Kind::Sent, rest);
        m_wait = Wait{.kind = Wait::Kind::Room};
        return true;
    case C::Nextroom:
        m_wait = Wait{.kind = Wait::Kind::Room};
        return true;
    case C::Wait:
        m_wait = Wait{.kind = Wait::Kind::AnyLine};
        return true;
    case C::Pause:
    case C::Delay: {
        const auto seconds = rest.isEmpty() ? std::optional<double>(1) : numberOrFinding(rest);
        if (!seconds)
            return false;
        m_wait = Wait{.kind = Wait::Kind::Pause, .deadline = m_clock + qMax(0.0, *seconds)};
        return true;
    }
    default:
        return executeModern(kind, word, rest, inAction);
    }
}

bool ScriptRunner::changeCounter(QStringView rest)
{
    const auto [how, amount] = firstWordAndRest(rest);
    // The classic dialect sets, adds and subtracts; its checker calls anything else a mistake.
    if (m_options.dialect == Dialect::Classic && !is(how, "add") && !is(how, "subtract")
        && !is(how, "set"))
        return cannotKnow(QStringLiteral("counter %1 is not a command of the classic dialect")
                              .arg(how.toString()));
    const auto n = numberOrFinding(amount);
    if (!n)
        return false;
    double &c = m_values.counter;
    if (is(how, "add"))
        c += *n;
    else if (is(how, "subtract"))
        c -= *n;
    else if (is(how, "set"))
        c = *n;
    else if (is(how, "multiply"))
        c *= *n;
    else if (is(how, "divide") && *n != 0)
        c /= *n;
    else {
        finish(RunFinding::Kind::BadNumber,
               is(how, "divide") ? QStringLiteral("the counter is divided by 0")
                                 : QStringLiteral("counter %1 is not a way to change the counter")
                                       .arg(how.toString()));
        return false;
    }
    if (onEvent)
        tell(RunEvent::Kind::Set, QString(QStringLiteral("%c = ") + numberText(c)));
    return true;
}

bool ScriptRunner::addMatch(RunProgram::Command command,
                            QStringView rest,
                            const RunProgram::Jump *prepared)
{
    const bool regular = command == RunProgram::Command::Matchre;
    if (prepared && (!regular || prepared->pattern)) {
        // Worked out when the script was read: nothing to build for a match in a loop.
        m_matches.push_back({prepared, m_current});
        return true;
    }
    // Made in place: a temporary copied in looked uninitialised to GCC's sanitizer build.
    MadeJump &made = m_madeJumps.emplace_back();
    made.written = rest.toString();
    const auto [label, text] = firstWordAndRest(made.written);
    made.jump = {label, -1, text};
    if (regular) {
        made.jump.pattern = pattern(text);
        if (!made.jump.pattern) {
            m_madeJumps.pop_back();
            return false;
        }
    } else {
        made.jump.folded = FoldedText(text);
    }
    m_matches.push_back({&made.jump, m_current});
    return true;
}

void ScriptRunner::clearMatches()
{
    m_matches.clear();
    if (!m_madeJumps.empty()) {
        // A made jump's address may be taken again by another: the set made for it is stale.
        m_madeJumps.clear();
        m_matchTextsFor.clear();
        m_matchTexts.assign({});
    }
}

bool ScriptRunner::doMath(QStringView rest, bool inAction)
{
    const auto [name, more] = firstWordAndRest(rest);
    const auto [how, amount] = firstWordAndRest(more);
    const auto n = numberOrFinding(amount);
    const auto now = is(how, "set")
                         ? std::optional<double>(0)
                         : numberOrFinding(m_values.variable(name).value_or(QStringLiteral("0")));
    if (!n || !now)
        return false;
    const QString sum = QStringLiteral("%1 %2 %3")
                            .arg(numberText(*now),
                                 is(how, "add")        ? QStringLiteral("+")
                                 : is(how, "subtract") ? QStringLiteral("-")
                                 : is(how, "multiply") ? QStringLiteral("*")
                                 : is(how, "divide")   ? QStringLiteral("/")
                                 : is(how, "modulus")  ? QStringLiteral("%")
                                                       : QStringLiteral("+"),
                                 numberText(*n));
    return execute(QStringLiteral("evalmath %1 %2")
                       .arg(name.toString(), is(how, "set") ? numberText(*n) : sum),
                   inAction);
}

bool ScriptRunner::executeModern(RunProgram::Command command,
                                 QStringView word,
                                 QStringView rest,
                                 bool inAction)
{
    using C = RunProgram::Command;
    switch (command) {
    case C::If:
    case C::Elseif:
    case C::Else:
        return executeConditional(word, rest, inAction);
    case C::Gosub: {
        const auto [label, arguments] = firstWordAndRest(rest);
        // "gosub clear" forgets every gosub under way: no return goes back into them.
        if (arguments.isEmpty() && equalsWord(label, QLatin1StringView("clear"))) {
            m_frames.clear();
            tell(RunEvent::Kind::Note, QStringLiteral("every gosub under way forgotten"));
            return true;
        }
        if (int(m_frames.size()) >= m_options.maxGosubDepth) {
            finish(RunFinding::Kind::TooDeep,
                   QStringLiteral("gosubs nest deeper than %1").arg(m_options.maxGosubDepth));
            return false;
        }
        const int returnTo = m_pc;
        if (!jump(label))
            return false;
        m_frames.push_back({returnTo, m_current, m_values.arguments, m_values.captures});
        m_values.arguments = argumentsOf(arguments);
        m_values.captures.clear(); // $1 ... are the subroutine's arguments until a pattern matches
        tell(RunEvent::Kind::Called, label.toString());
        return true;
    }
    case C::Return:
        if (m_frames.empty()) {
            finish(RunFinding::Kind::ReturnWithoutGosub, QStringLiteral("return without a gosub"));
            return false;
        }
        m_pc = m_frames.back().returnTo;
        m_values.arguments = m_frames.back().arguments;
        m_values.captures = m_frames.back().captures;
        m_frames.pop_back();
        tell(RunEvent::Kind::Returned,
             m_pc < int(m_program.lines().size())
                 ? QStringLiteral("to line %1").arg(line(m_pc).line + 1)
                 : QStringLiteral("to the end"));
        return true;
    case C::Waitforre: {
        auto expression = pattern(rest);
        if (!expression)
            return false;
        m_wait = Wait{
            .kind = Wait::Kind::Pattern, .text = rest.toString(), .pattern = std::move(expression)};
        return true;
    }
    case C::Waiteval:
        m_wait = Wait{.kind = Wait::Kind::Eval, .text = rest.toString()};
        return true;
    case C::Var: {
        const auto [name, value] = firstWordAndRest(rest);
        m_values.setVariable(name, value.toString());
        tell(RunEvent::Kind::Set,
             QStringLiteral("%%1 = %2").arg(name.toString(), value.toString()));
        return true;
    }
    case C::Unvar:
        m_values.removeVariable(rest);
        tell(RunEvent::Kind::Set, QStringLiteral("%%1 removed").arg(rest.toString()));
        return true;
    case C::Math:
        return doMath(rest, inAction);
    case C::Eval:
    case C::Evalmath: {
        const auto [name, expression] = firstWordAndRest(rest);
        const ExpressionValue value = evaluate(expression);
        if (value.unknown)
            return cannotKnow(value.error);
        if (!value.error.isEmpty() || (command == C::Evalmath && !value.number)) {
            finish(RunFinding::Kind::BadNumber,
                   QStringLiteral("%1 cannot be worked out: %2")
                       .arg(expression.toString(),
                            value.error.isEmpty() ? QStringLiteral("not a number") : value.error));
            return false;
        }
        m_values.setVariable(name, value.text);
        tell(RunEvent::Kind::Set, QStringLiteral("%%1 = %2").arg(name.toString(), value.text));
        return true;
    }
    case C::Random: {
        const auto [low, high] = firstWordAndRest(rest);
        const auto a = numberOrFinding(low), b = numberOrFinding(high);
        if (!a || !b)
            return false;
        const qint64 from = qint64(qMin(*a, *b)), to = qint64(qMax(*a, *b));
        const QString value
            = QString::number(from + qint64(m_random.bounded(quint64(to - from + 1))));
        m_values.setVariable(u"r", value);
        tell(RunEvent::Kind::Set, QStringLiteral("%r = ") + value);
        return true;
    }
    case C::Timer: {
        if (is(rest, "start") || is(rest, "reset") || is(rest, "clear"))
            m_timerStart = m_clock;
        else if (is(rest, "stop"))
            m_timerStart.reset();
        const QString value = numberText(m_timerStart ? m_clock - *m_timerStart : 0);
        m_values.setVariable(u"t", value);
        tell(RunEvent::Kind::Set, QStringLiteral("%t = ") + value);
        return true;
    }
    case C::Action:
        return defineAction(rest);
    case C::Ignored:
        return true;
    case C::Js:
        return cannotKnow(QStringLiteral("JavaScript is not run by the dry run"));
    default:
        return cannotKnow(
            QStringLiteral("%1 is not a command the dry run knows").arg(word.toString()));
    }
}

namespace {

// Whether a trigger holds a character that only a pattern gives meaning to.
bool looksLikePattern(QStringView trigger)
{
    for (const QChar c : trigger) {
        if (QStringView(u"\\^$.|?*+()[]{}").contains(c))
            return true;
    }
    return false;
}

} // namespace

// action [(class)] COMMAND when TRIGGER | when eval EXPR; action [(class)] on|off;
// action remove TRIGGER; action clear.
bool ScriptRunner::defineAction(QStringView rest)
{
    m_actionTextsStale = true;
    if (is(rest, "clear")) {
        m_actions.clear();
        return true;
    }
    if (const auto [word, trigger] = firstWordAndRest(rest); is(word, "remove")) {
        m_actions.removeIf([&](const Action &a) { return a.text == trigger; });
        return true;
    }
    QString group;
    if (rest.startsWith(u'(')) {
        const qsizetype close = rest.indexOf(u')');
        if (close > 0) {
            group = upperCased(trimmedView(rest.sliced(1, close - 1)));
            rest = trimmedView(rest.sliced(close + 1));
        }
    }
    // on / off, and as the libraries also write them, activate / inactivate.
    const bool off = is(rest, "off") || is(rest, "inactivate");
    if (!group.isEmpty() && (off || is(rest, "on") || is(rest, "activate"))) {
        if (off)
            m_groupsOff.insert(group);
        else
            m_groupsOff.remove(group);
        tell(RunEvent::Kind::Note,
             QStringLiteral("actions of %1 %2").arg(group, rest.toString().toLower()));
        return true;
    }
    const qsizetype when = rest.indexOf(u" when ", 0, Qt::CaseInsensitive);
    if (when < 0)
        return cannotKnow(QStringLiteral("an action without \"when\" is not known to the dry run"));
    const QStringView written = trimmedView(rest.sliced(when + 6));
    if (const auto [first, expression] = firstWordAndRest(written); is(first, "eval")) {
        // Worked out anew after each game line, with the values then.
        Action action{rest.first(when).toString(), expression.toString(), {}, m_current, {}, group};
        action.eval = true;
        m_actions.append(std::move(action));
        return true;
    }
    const auto trigger = substituted(written);
    if (!trigger)
        return false;
    const QStringView text = trigger->text;
    Action action{
        rest.first(when).toString(), text.toString(), {}, m_current, FoldedText(text), group};
    if (text.startsWith(u'/') || looksLikePattern(text)) {
        // Players write triggers as patterns, slashes or not; plain words stay plain text.
        action.pattern = pattern(text);
        if (!action.pattern)
            return false;
    }
    m_actions.append(std::move(action));
    return true;
}

} // namespace Korveth
