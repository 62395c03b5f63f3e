#include "CheckRun.h"

#include "ReportSink.h"
#include "ScriptChecker.h"
#include "ScriptLanguage.h"
#include "TextLines.h"

namespace Korveth {

std::int32_t crLfLineCount(QStringView text)
{
    return text.isEmpty() ? 0 : std::int32_t(text.count(u"\r\n") + 1);
}

CheckSummary runCheck(QStringView scriptText,
                      LineChecker &checker,
                      ReportSink &report,
                      const std::function<void(std::int32_t)> &progress,
                      ReportMap *map)
{
    CheckSummary summary;
    std::int32_t reportLine = 0;
    forEachCrLfLine(scriptText, [&](QStringView line) {
        const LineVerdicts verdicts = checker.judge(line);
        writeVerdicts(verdicts, report);
        checker.recordVerdicts(verdicts);
        if (map) {
            const std::int32_t errors = verdicts.errorCount();
            if (errors > 0) {
                const auto bytes = std::int32_t(verdicts.line.toUtf8().size());
                for (std::int32_t i = 0; i < errors; ++i)
                    map->mistakes.append({reportLine, bytes});
            }
            map->scriptLineOfReportLine.push_back(summary.lineCount);
            if (verdicts.second)
                map->scriptLineOfReportLine.push_back(summary.lineCount);
        }
        reportLine += verdicts.second ? 2 : 1;
        if (progress)
            progress(summary.lineCount);
        ++summary.lineCount;
    });
    summary.errorCount = checker.ErrorCount;
    return summary;
}

void writeSummary(const CheckSummary &summary, ReportSink &sink)
{
    sink.setColor(ReportColor::Black);
    sink.appendText(QString::number(summary.lineCount));
    sink.appendText(u" Lines.");
    sink.appendLineBreak();
    sink.setColor(ReportColor::Error);
    sink.appendText(QString::number(summary.errorCount));
    sink.appendText(u" Warning(s).");
    sink.setColor(ReportColor::Black);
}

} // namespace Korveth
