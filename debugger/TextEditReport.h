#pragma once

#include "ReportSink.h"

#include <QTextCharFormat>
#include <QTextCursor>

class QTextEdit;

namespace Korveth {

// Writes into a rich-text box at its end, in the colour and style set last.
class TextEditReport final : public ReportSink
{
public:
    // Writes after what the box holds, starting in the given format.
    TextEditReport(QTextEdit &box, const QTextCharFormat &format);

    void appendText(QStringView text) override;
    void appendLineBreak() override;
    void setColor(ReportColor color) override;
    void setBoldItalic(bool on);
    // The format in force for text appended next.
    const QTextCharFormat &format() const { return m_format; }

private:
    QTextCursor m_cursor;
    QTextCharFormat m_format;
};

} // namespace Korveth
