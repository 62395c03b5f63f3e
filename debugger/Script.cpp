#include "Script.h"

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

Script::Script(Dialogs &dialogs, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , ScriptDebug(new ReportView(this))
    , LookupCmd(new QTextEdit(this))
    , Label1(new QLabel(
          QStringLiteral("Highlight a command and click 'Lookup' to find information on it."),
          this))
    , Command3(button("Command3", "&Find Next Mistake", this))
    , Command2(button("Command2", "&Lookup", this))
    , Command1(button("Command1", "&Done", this))
    , cboDialect(new QComboBox(this))
    , m_dialectLabel(new QLabel(QStringLiteral("D&ialect:"), this))
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Script"));
    setWindowTitle(QStringLiteral("Script Debugger"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(designFont());
    ScriptDebug->setObjectName(QStringLiteral("ScriptDebug"));
    ScriptDebug->setAccessibleName(QStringLiteral("Report"));
    ScriptDebug->setAccessibleDescription(
        QStringLiteral("Each script line with its verdict; Enter shows the line in its script."));
    LookupCmd->setObjectName(QStringLiteral("LookupCmd"));
    LookupCmd->setAccessibleName(QStringLiteral("Command reference"));
    LookupCmd->setReadOnly(true);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    cboDialect->setObjectName(QStringLiteral("cboDialect"));
    cboDialect->addItems(
        {QStringLiteral("Classic"), QStringLiteral("Modern"), QStringLiteral("Auto")});
    cboDialect->setToolTip(QStringLiteral("Classic: the original commands. Modern: variables, "
                                          "gosub, if ... then, blocks, matchre, includes. Auto: "
                                          "as the script looks."));
    m_dialectLabel->setBuddy(cboDialect);

    const QSize design(twipsToPixelsX(*this, designWidth), twipsToPixelsY(*this, designHeight));
    setMinimumSize(design);
    resize(design);
    layOut();

    connect(Command3, &QPushButton::clicked, this, &Script::findNextMistake);
    connect(Command2, &QPushButton::clicked, this, &Script::lookup);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    ButtonClosedDialog::closeOnEscape(*this);
    connect(ScriptDebug, &ReportView::lineChosen, this, [this](int line) {
        if (line >= 0 && std::size_t(line) < m_map.scriptLineOfReportLine.size())
            Q_EMIT scriptLineRequested(m_map.scriptLineOfReportLine[std::size_t(line)]);
    });
}

void Script::layOut()
{
    const int extraX = width() - twipsToPixelsX(*this, designWidth);
    const int extraY = height() - twipsToPixelsY(*this, designHeight);
    ScriptDebug->setGeometry(twipsRect(*this, 120, 120, 7575, 4815).adjusted(0, 0, extraX, extraY));
    LookupCmd->setGeometry(
        twipsRect(*this, 120, 5040, 7575, 1335).translated(0, extraY).adjusted(0, 0, extraX, 0));
    // The design's label reaches past the window's edge; it wraps within the window instead.
    QRect label = twipsRect(*this, 7920, 1920, 2055, 735).translated(extraX, 0);
    label.setRight(qMin(label.right(), width() - twipsToPixelsX(*this, 120)));
    // A larger font needs more lines: the label grows upwards, into the empty space there, and
    // still ends where the design ends it.
    const int needed = Label1->heightForWidth(label.width());
    if (needed > label.height())
        label.setTop(qMax(twipsToPixelsY(*this, 120), label.bottom() - needed));
    Label1->setGeometry(label);
    m_dialectLabel->setGeometry(twipsRect(*this, 7920, 2760, 1815, 255).translated(extraX, 0));
    cboDialect->setGeometry(twipsRect(*this, 7920, 3060, 1815, 375).translated(extraX, 0));
    Command3->setGeometry(twipsRect(*this, 7920, 3840, 1815, 375).translated(extraX, 0));
    Command2->setGeometry(twipsRect(*this, 7920, 4560, 1815, 375).translated(extraX, 0));
    Command1->setGeometry(twipsRect(*this, 7920, 5520, 1815, 375).translated(extraX, extraY));
}

void Script::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

// Closing the debugger hands the focus back to the window that owns it.
void Script::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr)
        owner->activateWindow();
}

void Script::resetRun()
{
    ErrorCount = 0;
    ScriptErrors.clear();
    ErrorIndex = -1;
    m_map = {};
    ScriptDebug->clearReport();
    LookupCmd->clear();
}

void Script::takeRun(StyledReport &report,
                     ReportMap map,
                     std::int32_t errorCount,
                     const QStringList &scriptErrors)
{
    ScriptDebug->showReport(report);
    m_map = std::move(map);
    ErrorCount = errorCount;
    ScriptErrors = scriptErrors;
    ErrorIndex = -1;
}

void Script::writeSummary(const CheckSummary &summary)
{
    TextEditReport box(*LookupCmd, m_lookupFormat);
    Korveth::writeSummary(summary, box);
    m_lookupFormat = box.format();
}

// Selects the report line of the next error verdict itself (never an earlier occurrence of the
// same text), wrapping round after the last.
void Script::findNextMistake()
{
    if (ErrorCount == 0) {
        m_dialogs.inform(QStringLiteral("No Errors found."),
                         QStringLiteral("There are no Errors in this Script."),
                         Dialogs::Icon::None);
        return;
    }
    const auto entries = std::int32_t(m_map.mistakes.size());
    if (ErrorIndex + 2 > entries) {
        m_dialogs.inform(QStringLiteral("End of File"),
                         QStringLiteral("Reached end of file. Returning to the beginning."),
                         Dialogs::Icon::None);
        ErrorIndex = -1;
    }
    ++ErrorIndex;
    if (ErrorIndex >= entries)
        return;
    const ReportMap::Mistake &mistake = m_map.mistakes[ErrorIndex];
    ScriptDebug->selectLineStart(mistake.reportLine, mistake.textBytes);
    ScriptDebug->setFocus();
}

void Script::lookup()
{
    const ReferenceLookup found = lookupReference(ScriptDebug->selectedText());
    if (found.outcome == ReferenceLookup::Outcome::NothingSelected)
        return;
    LookupCmd->clear();
    // The lookup sets no colour: it writes in the one in force, black after a summary.
    TextEditReport box(*LookupCmd, m_lookupFormat);
    if (found.outcome == ReferenceLookup::Outcome::NotFound) {
        box.appendText(notFoundPrefix.toString() + found.selection);
        return;
    }
    const ReferenceEntry &entry = *found.entry;
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
}

} // namespace Korveth
