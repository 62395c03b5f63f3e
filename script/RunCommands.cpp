// What each command does in a dry run.
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
    const auto [word, rest] = firstWordAndRest(command);
    if (is(word, "put") || (m_options.dialect == Dialect::Modern && is(word, "send"))) {
        tell(RunEvent::Kind::Sent, rest.toString());
        return true;
    }
    if (is(word, "echo")) {
        tell(RunEvent::Kind::Echoed, rest.toString());
        return true;
    }
    if (is(word, "exit")) {
        finish(RunFinding::Kind::Ended, QStringLiteral("exit"));
        return false;
    }
    if (is(word, "goto")) {
        if (inAction) {
            m_actionJump = rest.toString();
            return true;
        }
        if (prepared && prepared->target >= 0)
            m_pc = prepared->target;
        else if (!jump(rest))
            return false;
        tell(RunEvent::Kind::Jumped, rest.toString());
        return true;
    }
    if (word.size() == 4 && word.startsWith(u"if_", Qt::CaseInsensitive) && word[3].isDigit()) {
        const int n = word[3].digitValue();
        const bool given
            = n == 0 ? !m_values.arguments.isEmpty() : !m_values.arguments.value(n - 1).isEmpty();
        return !given || execute(rest, inAction);
    }
    if (is(word, "counter")) {
        const auto [how, amount] = firstWordAndRest(rest);
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
                                     : QStringLiteral("counter %1 is not a way to change the "
                                                      "counter")
                                           .arg(how.toString()));
            return false;
        }
        tell(RunEvent::Kind::Set, QStringLiteral("%c = ") + numberText(c));
        return true;
    }
    if (is(word, "save")) {
        m_values.saved = rest.toString();
        tell(RunEvent::Kind::Set, QStringLiteral("%s = ") + m_values.saved);
        return true;
    }
    if (is(word, "shift")) {
        m_values.shift();
        tell(RunEvent::Kind::Set, QStringLiteral("%1 = ") + m_values.arguments.value(0));
        return true;
    }
    if (inAction
        && (is(word, "match") || is(word, "matchwait") || is(word, "waitfor") || is(word, "pause")
            || is(word, "move") || is(word, "wait")))
        return cannotKnow(QStringLiteral("an action cannot wait (%1)").arg(word.toString()));
    if (is(word, "match") || (m_options.dialect == Dialect::Modern && is(word, "matchre"))) {
        const bool regular = is(word, "matchre");
        if (prepared && (!regular || prepared->pattern)) {
            // Worked out when the script was read: nothing to build for a match in a loop.
            m_matches.append({prepared->label,
                              prepared->argument,
                              prepared->folded,
                              prepared->pattern,
                              m_current,
                              prepared->target,
                              prepared->matcher});
            return true;
        }
        const auto [label, text] = firstWordAndRest(rest);
        PendingMatch match{
            label.toString(), text.toString(), foldedForMatching(text), std::nullopt, m_current};
        if (regular) {
            match.pattern = pattern(text);
            if (!match.pattern)
                return false;
        }
        m_matches.append(std::move(match));
        return true;
    }
    if (is(word, "matchwait")) {
        Wait wait{.kind = Wait::Kind::Match};
        if (const auto seconds = numberOf(rest))
            wait.deadline = m_clock + *seconds;
        m_wait = std::move(wait);
        return true;
    }
    if (is(word, "waitfor")) {
        m_wait = Wait{
            .kind = Wait::Kind::Text, .text = rest.toString(), .folded = foldedForMatching(rest)};
        return true;
    }
    if (is(word, "move")) {
        tell(RunEvent::Kind::Sent, rest.toString());
        m_wait = Wait{.kind = Wait::Kind::Room};
        return true;
    }
    if (is(word, "wait")) {
        m_wait = Wait{.kind = Wait::Kind::AnyLine};
        return true;
    }
    if (is(word, "pause") || (m_options.dialect == Dialect::Modern && is(word, "delay"))) {
        const auto seconds = rest.isEmpty() ? std::optional<double>(1) : numberOrFinding(rest);
        if (!seconds)
            return false;
        m_wait = Wait{.kind = Wait::Kind::Pause, .deadline = m_clock + qMax(0.0, *seconds)};
        return true;
    }
    if (is(word, "nextroom")) {
        m_wait = Wait{.kind = Wait::Kind::Room};
        return true;
    }
    if (m_options.dialect == Dialect::Modern)
        return executeModern(word, rest, inAction);
    return cannotKnow(
        QStringLiteral("%1 is not a command of the classic dialect").arg(word.toString()));
}

bool ScriptRunner::executeModern(QStringView word, QStringView rest, bool inAction)
{
    if (is(word, "if") || is(word, "elseif") || is(word, "else"))
        return executeConditional(word, rest, inAction);
    if (is(word, "gosub")) {
        const auto [label, arguments] = firstWordAndRest(rest);
        if (int(m_frames.size()) >= m_options.maxGosubDepth) {
            finish(RunFinding::Kind::TooDeep,
                   QStringLiteral("gosubs nest deeper than %1").arg(m_options.maxGosubDepth));
            return false;
        }
        const int returnTo = m_pc;
        if (!jump(label))
            return false;
        m_frames.push_back({returnTo, m_current, m_values.arguments});
        m_values.arguments = argumentsOf(arguments);
        tell(RunEvent::Kind::Called, label.toString());
        return true;
    }
    if (is(word, "return")) {
        if (m_frames.empty()) {
            finish(RunFinding::Kind::ReturnWithoutGosub, QStringLiteral("return without a gosub"));
            return false;
        }
        m_pc = m_frames.back().returnTo;
        m_values.arguments = m_frames.back().arguments;
        m_frames.pop_back();
        tell(RunEvent::Kind::Returned,
             m_pc < int(m_program.lines().size())
                 ? QStringLiteral("to line %1").arg(line(m_pc).line + 1)
                 : QStringLiteral("to the end"));
        return true;
    }
    if (is(word, "waitforre")) {
        auto expression = pattern(rest);
        if (!expression)
            return false;
        m_wait = Wait{
            .kind = Wait::Kind::Pattern, .text = rest.toString(), .pattern = std::move(expression)};
        return true;
    }
    if (is(word, "waiteval")) {
        m_wait = Wait{.kind = Wait::Kind::Eval, .text = rest.toString()};
        return true;
    }
    if (is(word, "var") || is(word, "setvariable") || is(word, "setvar")) {
        const auto [name, value] = firstWordAndRest(rest);
        m_values.setVariable(name, value.toString());
        tell(RunEvent::Kind::Set,
             QStringLiteral("%%1 = %2").arg(name.toString(), value.toString()));
        return true;
    }
    if (is(word, "unvar") || is(word, "deletevariable")) {
        m_values.removeVariable(rest);
        tell(RunEvent::Kind::Set, QStringLiteral("%%1 removed").arg(rest.toString()));
        return true;
    }
    if (is(word, "math")) {
        const auto [name, more] = firstWordAndRest(rest);
        const auto [how, amount] = firstWordAndRest(more);
        const auto n = numberOrFinding(amount);
        const auto now
            = is(how, "set")
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
    if (is(word, "eval") || is(word, "evalmath")) {
        const auto [name, expression] = firstWordAndRest(rest);
        const ExpressionValue value = evaluateExpression(expression);
        if (!value.error.isEmpty() || (is(word, "evalmath") && !value.number)) {
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
    if (is(word, "random")) {
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
    if (is(word, "timer")) {
        if (is(rest, "start") || is(rest, "reset") || is(rest, "clear"))
            m_timerStart = m_clock;
        else if (is(rest, "stop"))
            m_timerStart.reset();
        const QString value = numberText(m_timerStart ? m_clock - *m_timerStart : 0);
        m_values.setVariable(u"t", value);
        tell(RunEvent::Kind::Set, QStringLiteral("%t = ") + value);
        return true;
    }
    if (is(word, "action")) {
        const qsizetype when = rest.indexOf(u" when ", 0, Qt::CaseInsensitive);
        if (is(rest, "clear")) {
            m_actions.clear();
            return true;
        }
        if (when < 0)
            return cannotKnow(
                QStringLiteral("an action without \"when\" is not known to the dry run"));
        const QStringView text = trimmedView(rest.sliced(when + 6));
        Action action{
            rest.first(when).toString(), text.toString(), {}, m_current, foldedForMatching(text)};
        if (action.text.startsWith(u'/')) {
            action.pattern = pattern(action.text);
            if (!action.pattern)
                return false;
        }
        m_actions.append(std::move(action));
        return true;
    }
    if (is(word, "include") || is(word, "debug") || is(word, "debuglevel"))
        return true;
    if (is(word, "js") || is(word, "jscall"))
        return cannotKnow(QStringLiteral("JavaScript is not run by the dry run"));
    return cannotKnow(QStringLiteral("%1 is not a command the dry run knows").arg(word.toString()));
}

} // namespace Korveth
