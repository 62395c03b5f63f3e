#pragma once

#include "ReportSink.h"

#include <QList>
#include <QPair>
#include <QString>

// A report that keeps what was written: the plain text, and every piece with its colour.
class RecordingReport final : public Korveth::ReportSink
{
public:
    void appendText(QStringView text) override
    {
        plain += text;
        pieces.append({color, text.toString()});
    }
    void appendLineBreak() override { appendText(u"\r\n"); }
    void setColor(Korveth::ReportColor c) override { color = c; }

    // The text of each colour in order, e.g. "put x" in black then " - Put ..." in blue.
    QString colored(Korveth::ReportColor wanted) const
    {
        QString text;
        for (const auto &[c, piece] : pieces) {
            if (c == wanted)
                text += piece;
        }
        return text;
    }

    QString plain;
    QList<QPair<Korveth::ReportColor, QString>> pieces;
    Korveth::ReportColor color = Korveth::ReportColor::Black;
};
