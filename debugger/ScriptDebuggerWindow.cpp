#include "ScriptDebuggerWindow.h"

#include "WindowFront.h"

#include "Announcer.h"

#include "ButtonClosedDialog.h"
#include "CommandReference.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "ReportView.h"
#include "StyledReport.h"
#include "TextEditReport.h"
#include "Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace Korveth {

namespace {

// The design's client area; the window may grow, the report taking the extra room.
constexpr int designWidth = 9930;
constexpr int designHeight = 6495;

QPushButton *button(const char *name, const char *caption, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1StringView(name));
    return button;
}

} // namespace

ScriptDebuggerWindow::ScriptDebuggerWindow(Dialogs &dialogs, QWidget *owner)
    : QWidget(owner, ownedWindow)
    , m_report(new ReportView(this))
    , m_reference(new QTextEdit(this))
    , m_hint(new QLabel(
          QStringLiteral("Highlight a command and click 'Lookup' to find information on it."),
          this))
    , m_findNextButton(button("Command3", "&Find Next Mistake", this))
    , m_lookupButton(button("Command2", "&Lookup", this))
    , m_doneButton(button("Command1", "&Done", this))
    , m_dialectChoice(new QComboBox(this))
    , m_dialectLabel(new QLabel(QStringLiteral("D&ialect:"), this))
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Script"));
    setWindowTitle(QStringLiteral("Script Debugger"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(designFont());
    m_report->setObjectName(QStringLiteral("ScriptDebug"));
    m_report->setAccessibleName(QStringLiteral("Report"));
    m_report->setAccessibleDescription(
        QStringLiteral("Each script line with its verdict; Enter shows the line in its script."));
    m_reference->setObjectName(QStringLiteral("LookupCmd"));
    // It holds the check's summary, then what Lookup found; read line by line with the arrows.
    m_reference->setAccessibleName(QStringLiteral("Summary and Lookup"));
    m_reference->setReadOnly(true);
    m_reference->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_reference->setFocusPolicy(Qt::StrongFocus);
    m_hint->setObjectName(QStringLiteral("Label1"));
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Announcer::sayChoices(*m_dialectChoice);
    m_dialectChoice->setObjectName(QStringLiteral("cboDialect"));
    m_dialectChoice->addItems(
        {QStringLiteral("Classic"), QStringLiteral("Modern"), QStringLiteral("Auto")});
    m_dialectChoice->setToolTip(
        QStringLiteral("Classic: the original commands. Modern: variables, "
                       "gosub, if ... then, blocks, matchre, includes. Auto: "
                       "as the script looks."));
    m_dialectLabel->setBuddy(m_dialectChoice);

    const QSize design(twipsToPixelsX(*this, designWidth), twipsToPixelsY(*this, designHeight));
    setMinimumSize(design);
    resize(design);
    layOut();

    connect(m_findNextButton, &QPushButton::clicked, this, &ScriptDebuggerWindow::findNextMistake);
    connect(m_lookupButton, &QPushButton::clicked, this, &ScriptDebuggerWindow::lookup);
    connect(m_doneButton, &QPushButton::clicked, this, &QWidget::close);
    ButtonClosedDialog::closeOnEscape(*this);
    connect(m_report, &ReportView::lineChosen, this, [this](int line) {
        if (line >= 0 && std::size_t(line) < m_map.scriptLineOfReportLine.size())
            Q_EMIT scriptLineRequested(m_map.scriptLineOfReportLine[std::size_t(line)]);
    });
}

void ScriptDebuggerWindow::layOut()
{
    const int extraX = width() - twipsToPixelsX(*this, designWidth);
    const int extraY = height() - twipsToPixelsY(*this, designHeight);
    m_report->setGeometry(twipsRect(*this, 120, 120, 7575, 4815).adjusted(0, 0, extraX, extraY));
    m_reference->setGeometry(
        twipsRect(*this, 120, 5040, 7575, 1335).translated(0, extraY).adjusted(0, 0, extraX, 0));
    // The design's label reaches past the window's edge; it wraps within the window instead.
    QRect label = twipsRect(*this, 7920, 1920, 2055, 735).translated(extraX, 0);
    label.setRight(qMin(label.right(), width() - twipsToPixelsX(*this, 120)));
    // A larger font needs more lines: the label grows upwards, into the empty space there, and
    // still ends where the design ends it.
    const int needed = m_hint->heightForWidth(label.width());
    if (needed > label.height())
        label.setTop(qMax(twipsToPixelsY(*this, 120), label.bottom() - needed));
    m_hint->setGeometry(label);
    m_dialectLabel->setGeometry(twipsRect(*this, 7920, 2760, 1815, 255).translated(extraX, 0));
    m_dialectChoice->setGeometry(twipsRect(*this, 7920, 3060, 1815, 375).translated(extraX, 0));
    m_findNextButton->setGeometry(twipsRect(*this, 7920, 3840, 1815, 375).translated(extraX, 0));
    m_lookupButton->setGeometry(twipsRect(*this, 7920, 4560, 1815, 375).translated(extraX, 0));
    m_doneButton->setGeometry(twipsRect(*this, 7920, 5520, 1815, 375).translated(extraX, extraY));
}

void ScriptDebuggerWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

// Closing the debugger hands the focus back to the window that owns it.
void ScriptDebuggerWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr)
        owner->activateWindow();
}

void ScriptDebuggerWindow::resetRun()
{
    m_errorCount = 0;
    m_scriptErrors.clear();
    m_errorIndex = -1;
    m_map = {};
    m_report->clearReport();
    m_reference->clear();
}

void ScriptDebuggerWindow::takeRun(StyledReport &report,
                                   ReportMap map,
                                   std::int32_t errorCount,
                                   const QStringList &scriptErrors)
{
    m_report->showReport(report);
    m_map = std::move(map);
    m_errorCount = errorCount;
    m_scriptErrors = scriptErrors;
    m_errorIndex = -1;
}

void ScriptDebuggerWindow::writeSummary(const CheckSummary &summary)
{
    TextEditReport box(*m_reference, m_lookupFormat);
    Korveth::writeSummary(summary, box);
    m_reference->moveCursor(QTextCursor::Start);
    m_lookupFormat = box.format();
}

// Selects the report line of the next error verdict itself (never an earlier occurrence of the
// same text), wrapping round after the last.
void ScriptDebuggerWindow::findNextMistake()
{
    if (m_errorCount == 0) {
        m_dialogs.inform(QStringLiteral("No Errors found."),
                         QStringLiteral("There are no Errors in this Script."),
                         Dialogs::Icon::None);
        return;
    }
    const auto entries = std::int32_t(m_map.mistakes.size());
    if (m_errorIndex + 2 > entries) {
        m_dialogs.inform(QStringLiteral("End of File"),
                         QStringLiteral("Reached end of file. Returning to the beginning."),
                         Dialogs::Icon::None);
        m_errorIndex = -1;
    }
    ++m_errorIndex;
    if (m_errorIndex >= entries)
        return;
    const ReportMap::Mistake &mistake = m_map.mistakes[m_errorIndex];
    m_report->selectLineStart(mistake.reportLine, mistake.textBytes);
    m_report->setFocus();
}

void ScriptDebuggerWindow::lookup()
{
    const ReferenceLookup found = lookupReference(m_report->selectedText());
    if (found.outcome == ReferenceLookup::Outcome::NothingSelected)
        return;
    m_reference->clear();
    // The lookup sets no colour: it writes in the one in force, black after a summary.
    TextEditReport box(*m_reference, m_lookupFormat);
    if (found.outcome == ReferenceLookup::Outcome::NotFound) {
        box.appendText(notFoundPrefix.toString() + found.selection);
        Announcer::announce(this, notFoundPrefix.toString() + found.selection);
        return;
    }
    const ReferenceEntry &entry = *found.entry;
    // The pane is read at leisure; what was found is said at once.
    Announcer::announce(this, QStringLiteral("%1. %2").arg(entry.title, entry.syntax));
    box.appendText(entry.title);
    box.appendLineBreak();
    box.setBoldItalic(true);
    box.appendText(entry.syntax);
    box.appendLineBreak();
    box.setBoldItalic(false);
    for (std::size_t i = 0; i < entry.textLines.size(); ++i) {
        if (i > 0)
            box.appendLineBreak();
        box.appendText(entry.textLines[i]);
    }
    m_reference->moveCursor(QTextCursor::Start); // read from the top by the arrow keys
}

} // namespace Korveth
