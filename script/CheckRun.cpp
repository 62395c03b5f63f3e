#include "CheckRun.h"

#include "ReportSink.h"
#include "ScriptChecker.h"
#include "ScriptLanguage.h"

namespace Korveth {

CheckSummary runCheck(QStringView scriptText,
                      ScriptChecker &checker,
                      ReportSink &report,
                      const std::function<void(std::int32_t)> &progress)
{
    const QList<QStringView> lines = splitAtCrLf(scriptText);
    CheckSummary summary;
    for (QStringView line : lines) {
        checker.ScriptCheck(line, report);
        if (progress)
            progress(summary.lineCount);
        ++summary.lineCount;
    }
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
