#include "ReportView.h"

#include "EditorAccessible.h"

#include "DesignFont.h"
#include "StyledReport.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace Korveth {

namespace {} // namespace

ReportView::ReportView(QWidget *parent)
    : QsciScintilla(parent)
    , m_font(defaultFont())
{
    setUtf8(true);
    setEolMode(EolWindows);
    setMarginWidth(0, 0);
    setMarginWidth(1, 0);
    setWrapMode(WrapNone);
    setCaretLineVisible(false);
    // Read by a screen reader line by line, as the scripts are.
    EditorAccessible::followCaret(this);
    // Grow the horizontal scroll range with the lines shown instead of a fixed guess.
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    setReportFont(m_font);
    setReadOnly(true);
}

QColor ReportView::styleColour(int style, const QPalette &palette)
{
    const bool darkBase = palette.color(QPalette::Base).lightness() < 128;
    switch (style) {
    case 1:
        return darkBase ? QColor(0x8C, 0xB4, 0xFF) : QColor(0, 0, 0xFF);
    case 2:
        return darkBase ? QColor(0xFF, 0x80, 0x80) : QColor(0xFF, 0, 0);
    default:
        return palette.color(QPalette::Text);
    }
}

QFont ReportView::defaultFont()
{
    return designFont();
}

void ReportView::setReportFont(const QFont &font)
{
    m_font = font;
    setFont(font);
    // Every style names its background too: none is left to a default that may not suit.
    const QColor base = palette().color(QPalette::Base);
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, base);
    for (int style = 0; style < 3; ++style) {
        SendScintilla(SCI_STYLESETFORE, style, styleColour(style, palette()));
        SendScintilla(SCI_STYLESETBACK, style, base);
        SendScintilla(SCI_STYLESETFONT, style, font.family().toUtf8().constData());
        SendScintilla(SCI_STYLESETSIZEFRACTIONAL, style, long(font.pointSizeF() * 100));
        SendScintilla(SCI_STYLESETBOLD, style, font.bold());
        SendScintilla(SCI_STYLESETITALIC, style, font.italic());
        SendScintilla(SCI_STYLESETUNDERLINE, style, font.underline());
    }
}

void ReportView::clearReport()
{
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setReadOnly(true);
}

void ReportView::showReport(StyledReport &report)
{
    const QByteArray &text = report.text();
    const QByteArray &styles = report.styles();
    // Not an edit: no undo history and no change notifications (they would copy the text).
    const long eventMask = SendScintilla(SCI_GETMODEVENTMASK);
    SendScintilla(SCI_SETMODEVENTMASK, 0);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0);
    setReadOnly(false);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(text.size() + 1));
    SendScintilla(SCI_APPENDTEXT, text.size(), text.constData());
    SendScintilla(SCI_STARTSTYLING, 0);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<unsigned long>(styles.size()), styles.constData());
    setReadOnly(true);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(SCI_SETMODEVENTMASK, eventMask);
    SendScintilla(SCI_GOTOPOS, 0);
    report.clear();
}

void ReportView::selectLineStart(int line, int bytes)
{
    const long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    SendScintilla(SCI_SETSEL, start, start + bytes);
    SendScintilla(SCI_SCROLLCARET);
}

int ReportView::styleAt(int line, int column) const
{
    return int(SendScintilla(SCI_GETSTYLEAT, SendScintilla(SCI_POSITIONFROMLINE, line) + column));
}

void ReportView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QsciScintilla::mouseDoubleClickEvent(event);
    const long position = SendScintilla(
        SCI_POSITIONFROMPOINT, long(event->position().x()), long(event->position().y()));
    Q_EMIT lineChosen(int(SendScintilla(SCI_LINEFROMPOSITION, position)));
}

void ReportView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT lineChosen(
            int(SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS))));
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

} // namespace Korveth
