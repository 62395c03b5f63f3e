#include "ScriptChecker.h"

#include "ReportSink.h"
#include "ScriptLanguage.h"

#include <array>

namespace Korveth {

namespace {

constexpr Verdict accepted(QStringView message)
{
    return {message, false};
}

constexpr Verdict error(QStringView message)
{
    return {message, true};
}

constexpr std::array<QStringView, 10> ifDigitMessages{
    u"If_0 Command recognised.",
    u"If_1 Command recognised.",
    u"If_2 Command recognised.",
    u"If_3 Command recognised.",
    u"If_4 Command recognised.",
    u"If_5 Command recognised.",
    u"If_6 Command recognised.",
    u"If_7 Command recognised.",
    u"If_8 Command recognised.",
    u"If_9 Command recognised.",
};

bool equalsUpper(QStringView word, QStringView upper)
{
    return upperCased(word) == upper;
}

// The upper-cased line with every occurrence of the command word removed, then every space.
QString withoutWordAndSpaces(QStringView line, const QString &upperWord)
{
    QString rest = upperCased(line);
    rest.remove(upperWord);
    rest.remove(u' ');
    return rest;
}

} // namespace

const QStringView tooManyMatchesMessage
    = u"*** More than 32 Matches, Possible missing MatchWait/Too many matches issued. ***";

ScriptChecker::ScriptChecker(QStringView scriptText)
    : m_labels(scriptText)
{}

ScriptChecker::ScriptChecker(QByteArray scriptUtf8)
    : m_labels(std::move(scriptUtf8))
{}

LineVerdicts ScriptChecker::judge(QStringView line)
{
    LineVerdicts verdicts;
    verdicts.line = trimmedView(line);
    if (verdicts.line.isEmpty())
        return verdicts;

    const QStringView firstWord = wordAt(verdicts.line, 0);
    if (const auto command = commandWordOf(firstWord)) {
        if (*command == CommandWord::Match)
            verdicts.first = judgeMatch(verdicts.line, verdicts.second);
        else
            verdicts.first = judgeCommand(verdicts.line, *command, firstWord);
    } else if (endsLikeLabel(verdicts.line)) {
        verdicts.first = accepted(u"Label recognised.");
    } else if (verdicts.line.contains(u'#')) {
        verdicts.first = accepted(u"Comment recognised.");
    } else {
        verdicts.first = error(u"Command not recognised.");
    }
    return verdicts;
}

Verdict ScriptChecker::judgeCommand(QStringView line, CommandWord command, QStringView firstWord)
{
    switch (command) {
    case CommandWord::Counter:
        return judgeCounter(line);
    case CommandWord::Echo:
        return accepted(u"Echo Command recognised.");
    case CommandWord::Exit:
        return accepted(u"Exit Command recognised.");
    case CommandWord::Goto:
        return judgeGoto(line);
    case CommandWord::IfDigit:
        return accepted(ifDigitMessages[firstWord[3].unicode() - u'0']);
    case CommandWord::IfUnderscore:
        return error(u"If_ Command missing integer. Ex. If_1.");
    case CommandWord::If:
        return error(u"If Command missing integer. Ex. If_1.");
    case CommandWord::Matchwait:
        MatchCount = 0;
        return accepted(u"Matchwait Command recognised.");
    case CommandWord::Move:
        return accepted(u"Move Command recognised.");
    case CommandWord::Pause:
        return accepted(u"Pause Command recognised.");
    case CommandWord::Put:
        return accepted(u"Put Command recognised.");
    case CommandWord::Save:
        if (withoutWordAndSpaces(line, QStringLiteral("SAVE")).isEmpty())
            return error(u"Save Command recognised. Variable missing.");
        return accepted(u"Save Command recognised. Variable defined.");
    case CommandWord::Shift:
        return accepted(u"Shift Command recognised.");
    case CommandWord::Wait:
        return accepted(u"Wait Command recognised.");
    case CommandWord::Waitfor:
        if (withoutWordAndSpaces(line, QStringLiteral("WAITFOR")).isEmpty())
            return error(u"Waitfor Command recognised. Trigger text missing.");
        return accepted(u"Waitfor Command recognised. Trigger text present.");
    case CommandWord::Match:
        break; // judged by judgeMatch
    }
    return error(u"Command not recognised.");
}

Verdict ScriptChecker::judgeCounter(QStringView line) const
{
    const QStringView action = wordAt(line, 1);
    const bool hasVariable = !wordAt(line, 2).isEmpty();
    if (equalsUpper(action, u"SET")) {
        return hasVariable ? accepted(u"Counter Set Command recognised. Variable defined.")
                           : error(u"Counter Set Command recognised. Variable missing.");
    }
    if (equalsUpper(action, u"SUBTRACT")) {
        return hasVariable ? accepted(u"Counter Subtract Command recognised. Variable defined.")
                           : error(u"Counter Subtract Command recognised. Variable missing.");
    }
    if (equalsUpper(action, u"ADD")) {
        return hasVariable ? accepted(u"Counter Add Command recognised. Variable defined.")
                           : error(u"Counter Add Command recognised. Variable missing.");
    }
    return error(u"Counter Command recognised. Set/Add/Subtract missing.");
}

Verdict ScriptChecker::judgeGoto(QStringView line) const
{
    const QString name = withoutWordAndSpaces(line, QStringLiteral("GOTO"));
    if (m_labels.containsUpperLabel(name))
        return accepted(u"Goto Command recognised. Label found.");
    if (line.contains(u'%'))
        return accepted(u"Goto Command recognised. Variable as label.");
    return error(u"Goto Command recognised. Label not found.");
}

Verdict ScriptChecker::judgeMatch(QStringView line, std::optional<Verdict> &second)
{
    ++MatchCount;
    if (line.count(u' ') < 2)
        return error(u"Match Command recognised. Trigger Text or Label Name missing.");

    // The name is what stands between the first two spaces.
    const qsizetype p1 = line.indexOf(u' ');
    const qsizetype p2 = line.indexOf(u' ', p1 + 1);
    const QString name = upperCased(line.sliced(p1 + 1, p2 - p1 - 1));
    if (m_labels.containsUpperLabel(name))
        return accepted(u"Match Command recognised. Label found.");

    const Verdict verdict = name.contains(u'%')
                                ? accepted(u"Match Command recognised. Variable as label.")
                                : error(u"Match Command recognised. Label not found.");
    if (MatchCount > 32)
        second = error(tooManyMatchesMessage);
    return verdict;
}

void LineChecker::recordVerdicts(const LineVerdicts &verdicts)
{
    for (const auto &verdict : {verdicts.first, verdicts.second}) {
        if (verdict && verdict->error) {
            ++ErrorCount;
            ScriptErrors.append(verdicts.line.toString());
        }
    }
}

void LineChecker::ScriptCheck(QStringView SplitS, ReportSink &report)
{
    const LineVerdicts verdicts = judge(SplitS);
    writeVerdicts(verdicts, report);
    recordVerdicts(verdicts);
}

void writeVerdicts(const LineVerdicts &verdicts, ReportSink &report)
{
    if (!verdicts.first) {
        report.appendLineBreak();
        return;
    }
    report.appendText(verdicts.line);
    report.setColor(verdicts.first->error ? ReportColor::Error : ReportColor::Accepted);
    report.appendText(u" - ");
    report.appendText(verdicts.first->message);
    report.appendLineBreak();
    report.setColor(ReportColor::Black);
    if (verdicts.second) {
        report.setColor(ReportColor::Error);
        report.appendText(verdicts.second->message);
        report.appendLineBreak();
        report.setColor(ReportColor::Black);
    }
}

} // namespace Korveth
