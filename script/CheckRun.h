#pragma once

#include <QStringView>

#include <cstdint>
#include <functional>

namespace Korveth {

class ReportSink;
class ScriptChecker;

struct CheckSummary
{
    std::int32_t lineCount = 0;
    std::int32_t errorCount = 0;
};

// Checks a whole script text (lines joined by CR LF): cuts it at CR LF and passes each line to
// the checker, which writes the report. The progress callback, if set, gets each line's index.
CheckSummary runCheck(QStringView scriptText,
                      ScriptChecker &checker,
                      ReportSink &report,
                      const std::function<void(std::int32_t)> &progress = {});

// Writes the run's two-line summary: "N Lines." in black, then "M Warning(s)." in red.
void writeSummary(const CheckSummary &summary, ReportSink &sink);

} // namespace Korveth
