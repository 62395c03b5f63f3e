#pragma once

#include <Qsci/qsciscintilla.h>

namespace Korveth {

class StyledReport;

// The debugger's report box: read-only, coloured blue, red and black. A whole report goes in at
// once with its colours, so a million lines show in a moment.
class ReportView final : public QsciScintilla
{
    Q_OBJECT

public:
    explicit ReportView(QWidget *parent = nullptr);

    // Replaces the contents with the report; the report is emptied.
    void showReport(StyledReport &report);
    void clearReport();
    // The report's font until the options set another.
    static QFont defaultFont();
    // The colour of a report style on the palette's base: 0 plain text (the palette's text
    // colour), 1 accepted lines (blue), 2 mistakes (red); lighter on a dark base, so that a
    // high-contrast palette never gets dark text on dark.
    static QColor styleColour(int style, const QPalette &palette);
    // The font of every colour; a run leaves it as it is.
    void setReportFont(const QFont &font);
    QFont reportFont() const { return m_font; }
    // Selects the first bytes of a report line.
    void selectLineStart(int line, int bytes);
    // The colour style (StyledReport::Style) at a line and byte column.
    int styleAt(int line, int column) const;

Q_SIGNALS:
    // A report line was double-clicked, or Enter pressed on it.
    void lineChosen(int line);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QFont m_font;
};

} // namespace Korveth
