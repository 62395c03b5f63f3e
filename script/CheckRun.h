#pragma once

#include <QList>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

namespace Korveth {

class ReportSink;
class LineChecker;

struct CheckSummary
{
    std::int32_t lineCount = 0;
    std::int32_t errorCount = 0;
};

// Where a run put things in its report, for a window that steps through the mistakes and leads
// from a report line back to its script line.
struct ReportMap
{
    // One per error verdict, in the order of ScriptErrors: the report line that starts with the
    // script line's text, and that text's length in UTF-8 bytes.
    struct Mistake
    {
        std::int32_t reportLine = 0;
        std::int32_t textBytes = 0;
    };
    QList<Mistake> mistakes;
    // The script line (from 0) of each report line.
    std::vector<std::int32_t> scriptLineOfReportLine;
};

// Lines of a text cut at CR LF: 0 for an empty text.
std::int32_t crLfLineCount(QStringView text);

// Checks a whole script text (lines joined by CR LF): cuts it at CR LF and passes each line to
// the checker, which writes the report. The progress callback, if set, gets each line's index;
// the map, if given, is filled.
CheckSummary runCheck(QStringView scriptText,
                      LineChecker &checker,
                      ReportSink &report,
                      const std::function<void(std::int32_t)> &progress = {},
                      ReportMap *map = nullptr);

// Writes the run's two-line summary: "N Lines." in black, then "M Warning(s)." in red.
void writeSummary(const CheckSummary &summary, ReportSink &sink);

} // namespace Korveth
