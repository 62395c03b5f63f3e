#include "ScriptChecker.h"

#include "ReportSink.h"
#include "ScriptLanguage.h"

namespace Korveth {

namespace {

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
        verdicts.first = Verdict{VerdictKind::Label};
    } else if (verdicts.line.contains(u'#')) {
        verdicts.first = Verdict{VerdictKind::Comment};
    } else {
        verdicts.first = Verdict{VerdictKind::CommandNotRecognised};
    }
    return verdicts;
}

Verdict ScriptChecker::judgeCommand(QStringView line, CommandWord command, QStringView firstWord)
{
    switch (command) {
    case CommandWord::Counter:
        return judgeCounter(line);
    case CommandWord::Echo:
        return Verdict{VerdictKind::Echo};
    case CommandWord::Exit:
        return Verdict{VerdictKind::Exit};
    case CommandWord::Goto:
        return judgeGoto(line);
    case CommandWord::IfDigit:
        return Verdict{ifDigitVerdict(firstWord[3].unicode() - u'0')};
    case CommandWord::IfUnderscore:
        return Verdict{VerdictKind::IfUnderscoreWithoutNumber};
    case CommandWord::If:
        return Verdict{VerdictKind::IfWithoutNumber};
    case CommandWord::Matchwait:
        MatchCount = 0;
        ++MatchesCleared;
        return Verdict{VerdictKind::Matchwait};
    case CommandWord::Move:
        return Verdict{VerdictKind::Move};
    case CommandWord::Pause:
        return Verdict{VerdictKind::Pause};
    case CommandWord::Put:
        return Verdict{VerdictKind::Put};
    case CommandWord::Save:
        if (withoutWordAndSpaces(line, QStringLiteral("SAVE")).isEmpty())
            return Verdict{VerdictKind::SaveVariableMissing};
        return Verdict{VerdictKind::SaveVariableDefined};
    case CommandWord::Shift:
        return Verdict{VerdictKind::Shift};
    case CommandWord::Wait:
        return Verdict{VerdictKind::Wait};
    case CommandWord::Waitfor:
        if (withoutWordAndSpaces(line, QStringLiteral("WAITFOR")).isEmpty())
            return Verdict{VerdictKind::WaitforTriggerMissing};
        return Verdict{VerdictKind::WaitforTriggerPresent};
    case CommandWord::Match:
        break; // judged by judgeMatch
    }
    return Verdict{VerdictKind::CommandNotRecognised};
}

Verdict ScriptChecker::judgeCounter(QStringView line) const
{
    const QStringView action = wordAt(line, 1);
    const bool hasVariable = !wordAt(line, 2).isEmpty();
    if (equalsUpper(action, u"SET")) {
        return hasVariable ? Verdict{VerdictKind::CounterSetVariableDefined}
                           : Verdict{VerdictKind::CounterSetVariableMissing};
    }
    if (equalsUpper(action, u"SUBTRACT")) {
        return hasVariable ? Verdict{VerdictKind::CounterSubtractVariableDefined}
                           : Verdict{VerdictKind::CounterSubtractVariableMissing};
    }
    if (equalsUpper(action, u"ADD")) {
        return hasVariable ? Verdict{VerdictKind::CounterAddVariableDefined}
                           : Verdict{VerdictKind::CounterAddVariableMissing};
    }
    return Verdict{VerdictKind::CounterActionMissing};
}

Verdict ScriptChecker::judgeGoto(QStringView line) const
{
    const QString name = withoutWordAndSpaces(line, QStringLiteral("GOTO"));
    if (m_labels.containsUpperLabel(name))
        return Verdict{VerdictKind::GotoLabelFound};
    if (line.contains(u'%'))
        return Verdict{VerdictKind::GotoVariableAsLabel};
    return Verdict{VerdictKind::GotoLabelNotFound};
}

Verdict ScriptChecker::judgeMatch(QStringView line, std::optional<Verdict> &second)
{
    ++MatchCount;
    if (line.count(u' ') < 2)
        return Verdict{VerdictKind::MatchTriggerOrLabelMissing};

    // The name is what stands between the first two spaces.
    const qsizetype p1 = line.indexOf(u' ');
    const qsizetype p2 = line.indexOf(u' ', p1 + 1);
    const QString name = upperCased(line.sliced(p1 + 1, p2 - p1 - 1));
    if (m_labels.containsUpperLabel(name))
        return Verdict{VerdictKind::MatchLabelFound};

    const Verdict verdict = name.contains(u'%') ? Verdict{VerdictKind::MatchVariableAsLabel}
                                                : Verdict{VerdictKind::MatchLabelNotFound};
    if (MatchCount > 32)
        second = Verdict{VerdictKind::TooManyMatches};
    return verdict;
}

void LineChecker::recordVerdicts(const LineVerdicts &verdicts)
{
    for (const auto &verdict : {verdicts.first, verdicts.second}) {
        if (verdict && verdict->error()) {
            ++ErrorCount;
            ScriptErrors.append(verdicts.line.toString());
        }
    }
}

std::unique_ptr<LineChecker> ScriptChecker::copy() const
{
    auto copy = std::make_unique<ScriptChecker>(*this);
    copy->MatchCount = 0;
    return copy;
}

void LineChecker::prefetchTarget(QByteArrayView utf8Line) const
{
    const auto blank = [](char c) {
        return c == ' ' || c == '\t';
    };
    qsizetype i = 0;
    const qsizetype n = utf8Line.size();
    while (i < n && blank(utf8Line[i]))
        ++i;
    while (i < n && !blank(utf8Line[i]))
        ++i;
    while (i < n && blank(utf8Line[i]))
        ++i;
    const qsizetype start = i;
    while (i < n && !blank(utf8Line[i]) && utf8Line[i] != '\r')
        ++i;
    if (i > start)
        prefetchLabel(utf8Line.sliced(start, i - start));
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
    report.setColor(verdicts.first->error() ? ReportColor::Error : ReportColor::Accepted);
    report.appendText(u" - ");
    report.appendText(verdicts.first->message());
    report.appendLineBreak();
    report.setColor(ReportColor::Black);
    if (verdicts.second) {
        report.setColor(ReportColor::Error);
        report.appendText(verdicts.second->message());
        report.appendLineBreak();
        report.setColor(ReportColor::Black);
    }
}

} // namespace Korveth
