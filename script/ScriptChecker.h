#pragma once

#include "LabelIndex.h"
#include "ScriptLanguage.h"
#include "Verdict.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>

namespace Korveth {

class ReportSink;

// What the checker says of one line: nothing for an empty line, one verdict otherwise, and for a
// match line past the limit a second one.
struct LineVerdicts
{
    QStringView line; // trimmed
    std::optional<Verdict> first;
    std::optional<Verdict> second;

    int errorCount() const { return (first && first->error()) + (second && second->error()); }
};

// A line checker with its run state: it judges the lines of one script in order. One object
// lives for one check run.
class LineChecker
{
public:
    virtual ~LineChecker() = default;

    // Judges the script's next line and updates MatchCount; does not touch the report or
    // ErrorCount.
    virtual LineVerdicts judge(QStringView line) = 0;

    // Judges one line, writes it and its verdicts to the report, and counts and remembers every
    // error verdict in ErrorCount and ScriptErrors.
    void ScriptCheck(QStringView SplitS, ReportSink &report);

    // Counts an error verdict of the given line, as ScriptCheck does, for callers of judge().
    void recordVerdicts(const LineVerdicts &verdicts);

    // Asks ahead for what judging a later line (UTF-8) will look up: its second word, where goto,
    // gosub, match and matchre name their label. A caller a few lines ahead of judge() no longer
    // waits for memory on each jump in a script of many labels.
    void prefetchTarget(QByteArrayView utf8Line) const;

    // A checker of its own for the same script, with no match counted: two threads judge a long
    // script's halves.
    virtual std::unique_ptr<LineChecker> copy() const = 0;
    // The next line judged is that one (from 0), not the one after the last.
    virtual void goToLine(qsizetype) {}

    std::int32_t ErrorCount = 0;
    std::int32_t MatchCount = 0;
    // How often a matchwait set MatchCount back to 0: from then on a run started with a wrong
    // count judges alike.
    std::int32_t MatchesCleared = 0;
    QStringList ScriptErrors;

protected:
    virtual void prefetchLabel(QByteArrayView) const {}
};

// The classic checker: the command set of the original language.
class ScriptChecker final : public LineChecker
{
public:
    // The script text is what label searches read: the whole document, lines joined by CR LF.
    explicit ScriptChecker(QStringView scriptText = {});
    // The same text as UTF-8, shared rather than copied.
    explicit ScriptChecker(QByteArray scriptUtf8);

    LineVerdicts judge(QStringView line) override;
    std::unique_ptr<LineChecker> copy() const override;

private:
    Verdict judgeCommand(QStringView line, CommandWord command, QStringView firstWord);
    Verdict judgeCounter(QStringView line) const;
    Verdict judgeGoto(QStringView line) const;
    Verdict judgeMatch(QStringView line, std::optional<Verdict> &second);
    void prefetchLabel(QByteArrayView name) const override { m_labels.prefetch(name); }

    LabelIndex m_labels;
};

// Writes one line and its verdicts in the report's form.
void writeVerdicts(const LineVerdicts &verdicts, ReportSink &report);

} // namespace Korveth
