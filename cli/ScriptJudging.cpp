#include "ScriptJudging.h"

#include "DiagnosticRange.h"
#include "ScriptChecker.h"
#include "TextLines.h"

#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace Korveth {

namespace {

// The mistakes of a stretch judged on another thread, written once the stretches before it are.
class KeptMistakes final : public MistakeWriter
{
public:
    void mistake(const FileName &, const MistakePlace &place) override { places.push_back(place); }
    std::vector<MistakePlace> places;
};

// What judging a stretch of lines wrote and counted. The match count it started with changes
// only whether a match line says there are too many, and only up to the first matchwait: such
// lines are noted, with where their verdicts were written, so that they can be judged again.
struct Judged
{
    std::int32_t lines = 0;
    std::int32_t errors = 0;
    struct Counted
    {
        std::int32_t line = 0; // in the stretch, from 0
        std::int32_t countBefore = 0;
        QByteArrayView text;
        qsizetype written = 0; // where its verdicts start in the report, and end
        qsizetype writtenEnd = 0;
        std::size_t mistakes = 0; // the same among the mistakes
        std::size_t mistakesEnd = 0;
        std::int32_t errors = 0;
    };
    std::vector<Counted> counted;
};

// Judges a stretch of the script's lines in order, from the line (from 0) it starts at: each line
// with its verdicts goes to the report, or its mistakes to the writer (those kept, if so).
Judged judgeLines(LineChecker &checker,
                  QByteArrayView stretch,
                  std::int32_t firstLine,
                  const FileName &name,
                  Output &out,
                  MistakeWriter *mistakes,
                  const KeptMistakes *kept = nullptr)
{
    // Past this count a match line says the same whatever the count it started with.
    constexpr std::int32_t countsThatMatter = 33;
    PlainReport report(out);
    LineDecoder decoder;
    LinesAhead ahead(stretch, 16);
    Judged judged;
    const std::int32_t cleared = checker.MatchesCleared;
    forEachEditorLine(stretch, [&](QByteArrayView bytes, QByteArrayView) {
        checker.prefetchTarget(ahead.next());
        const QStringView line = decoder.decode(bytes);
        const std::int32_t countBefore = checker.MatchCount;
        // Where its verdicts start, read only where they are kept.
        const qsizetype written = kept ? out.written().size() : 0;
        const std::size_t mistakesBefore = kept ? kept->places.size() : 0;
        const LineVerdicts verdicts = checker.judge(line);
        ++judged.lines;
        judged.errors += verdicts.errorCount();
        if (!mistakes) {
            writeVerdicts(verdicts, report);
        } else if (verdicts.errorCount() > 0) {
            for (const auto &verdict : {verdicts.first, verdicts.second}) {
                if (verdict && verdict->error()) {
                    // Where the editor and the language server mark it.
                    const auto [column, length] = diagnosticRange(line, verdict->part());
                    mistakes->mistake(
                        name,
                        {firstLine + judged.lines, column + 1, column + length + 1, verdict->kind});
                }
            }
        }
        if (kept && checker.MatchCount > countBefore && countBefore < countsThatMatter
            && checker.MatchesCleared == cleared) {
            judged.counted.push_back({judged.lines - 1,
                                      countBefore,
                                      bytes,
                                      written,
                                      out.written().size(),
                                      mistakesBefore,
                                      kept->places.size(),
                                      verdicts.errorCount()});
        }
    });
    return judged;
}

std::int32_t linesIn(QByteArrayView text)
{
    LineEndCounts ends;
    ends.count(text);
    return std::int32_t(ends.crlf + ends.lf + ends.cr + 1);
}

} // namespace

CheckSummary judgeScript(LineChecker &checker,
                         QByteArrayView text,
                         const FileName &name,
                         Output &out,
                         MistakeWriter *mistakes)
{
    CheckSummary summary;
    const std::optional<TextHalves> halves = halvesForTwoThreads(text);
    if (!halves) {
        const Judged judged = judgeLines(checker, text, 0, name, out, mistakes);
        summary = {judged.lines, judged.errors};
    } else {
        // The second half is judged on another thread into memory, as though no match were
        // counted where it starts.
        const QByteArrayView first = halves->first;
        const QByteArrayView second = halves->second;
        // A line's report is its text and a verdict: room is asked for once (pages never written
        // are never taken).
        Output secondOut(mistakes ? 0 : 4 * second.size() + (1 << 20));
        KeptMistakes secondMistakes;
        std::unique_ptr<LineChecker> secondChecker = checker.copy();
        std::int32_t firstLines = 0; // counted there: this thread has work enough
        auto secondJudged = std::async(std::launch::async, [&] {
            firstLines = linesIn(first);
            secondChecker->goToLine(firstLines);
            return judgeLines(*secondChecker,
                              second,
                              firstLines,
                              name,
                              secondOut,
                              mistakes ? &secondMistakes : nullptr,
                              &secondMistakes);
        });
        const Judged judged = judgeLines(checker, first, 0, name, out, mistakes);
        const Judged later = secondJudged.get();
        summary = {judged.lines + later.lines, judged.errors + later.errors};
        // The match lines whose verdicts the count changes are judged again, in their place.
        const std::int32_t countAtCut = checker.MatchCount;
        qsizetype copied = 0;
        std::size_t mistakesCopied = 0;
        auto copyUpTo = [&](qsizetype written, std::size_t mistakesKept) {
            out.writeUtf8(secondOut.written().sliced(copied, written - copied));
            for (std::size_t i = mistakesCopied; mistakes && i < mistakesKept; ++i)
                mistakes->mistake(name, secondMistakes.places[i]);
        };
        for (const Judged::Counted &line :
             countAtCut == 0 ? std::vector<Judged::Counted>{} : later.counted) {
            copyUpTo(line.written, line.mistakes);
            checker.goToLine(firstLines + line.line);
            checker.MatchCount = countAtCut + line.countBefore;
            const Judged again
                = judgeLines(checker, line.text, firstLines + line.line, name, out, mistakes);
            summary.errorCount += again.errors - line.errors;
            copied = line.writtenEnd;
            mistakesCopied = line.mistakesEnd;
        }
        copyUpTo(secondOut.written().size(), secondMistakes.places.size());
    }
    return summary;
}

} // namespace Korveth
