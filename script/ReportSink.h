#pragma once

#include <QStringView>

#include <cstdint>

namespace Korveth {

// Report colours as the report stores them: 0x00BBGGRR.
enum class ReportColor : std::uint32_t {
    Black = 0x000000,
    Accepted = 0xFF0000, // blue
    Error = 0x0000FF,    // red
};

// Where the checker writes its report: the debugger's report box, the command line, a test.
class ReportSink
{
public:
    virtual ~ReportSink() = default;
    // Appends text at the insertion point, in the colour in force.
    virtual void appendText(QStringView text) = 0;
    // Ends the current report line (CR LF in the report box).
    virtual void appendLineBreak() = 0;
    // Sets the colour of the text appended next.
    virtual void setColor(ReportColor color) = 0;
};

} // namespace Korveth
