#pragma once

#include "ReportSink.h"

#include <QByteArray>

#include <cstdint>

namespace Korveth {

// A report kept as the debugger's report box shows it: UTF-8 text with CR LF line breaks and
// one style byte for each byte of text, so that a million lines go to the box in one piece.
class StyledReport final : public ReportSink
{
public:
    enum Style : char { Black = 0, Blue = 1, Red = 2 };

    void appendText(QStringView text) override;
    void appendLineBreak() override;
    void setColor(ReportColor color) override;

    const QByteArray &text() const { return m_text; }
    const QByteArray &styles() const { return m_styles; }
    void reserve(qsizetype bytes);
    void clear();

private:
    QByteArray m_text;
    QByteArray m_styles;
    char m_style = Black;
};

} // namespace Korveth
