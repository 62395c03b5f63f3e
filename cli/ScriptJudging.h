#pragma once

#include "CheckRun.h"
#include "MistakeFormats.h"
#include "Output.h"
#include "ReportSink.h"

#include <QByteArrayView>

namespace Korveth {

class LineChecker;

// The debugger's report as plain text lines: colours carry no meaning here.
class PlainReport final : public ReportSink
{
public:
    explicit PlainReport(Output &out)
        : m_out(out)
    {}
    void appendText(QStringView text) override { m_out.write(text); }
    void appendLineBreak() override { m_out.write(u"\n"); }
    void setColor(ReportColor) override {}

private:
    Output &m_out;
};

// Judges every line of a script (UTF-8, cut as the editor cuts it) in order: each line with its
// verdicts goes to the report, or its mistakes to the writer. A script of 1 MB or more is judged
// in two halves on two threads, and what comes out is what one thread would have written.
CheckSummary judgeScript(LineChecker &checker,
                         QByteArrayView text,
                         const FileName &name,
                         Output &out,
                         MistakeWriter *mistakes);

} // namespace Korveth
