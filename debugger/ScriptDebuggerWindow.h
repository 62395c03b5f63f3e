#pragma once

#include "CheckRun.h"

#include <QStringList>
#include <QTextCharFormat>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTextEdit;

namespace Korveth {

class Dialogs;
class ReportView;
class StyledReport;

// "Script Debugger": the report of a check run, its summary, stepping through the mistakes and
// the command reference. It keeps the run state the checker left: the mistakes and which one is
// shown. Its controls keep the design's names as object names (`ScriptDebug`, `Command3`, ...).
class ScriptDebuggerWindow final : public QWidget
{
    Q_OBJECT

public:
    ScriptDebuggerWindow(Dialogs &dialogs, QWidget *owner);

    ReportView &report() const { return *m_report; }
    // Classic, Modern, Auto: what the next run checks in.
    QComboBox &dialectChoice() const { return *m_dialectChoice; }
    // The error verdicts of the last run, in order, and the one Find Next Mistake last showed
    // (-1 for none).
    const QStringList &mistakes() const { return m_scriptErrors; }
    int mistakeShown() const { return m_errorIndex; }

    // Empties the report, the summary box and the mistakes before a run.
    void resetRun();
    // Takes a finished run: its report, where its mistakes stand, and the checker's counts.
    void takeRun(StyledReport &report,
                 ReportMap map,
                 std::int32_t errorCount,
                 const QStringList &scriptErrors);
    // Writes "N Lines." and "M Warning(s)." into the command reference box.
    void writeSummary(const CheckSummary &summary);

    void findNextMistake();
    void lookup();

Q_SIGNALS:
    // The user double-clicked a report line: this script line (from 0) wants showing.
    void scriptLineRequested(int line);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void layOut();

    ReportView *m_report;
    QTextEdit *m_reference;
    QLabel *m_hint;
    QPushButton *m_findNextButton;
    QPushButton *m_lookupButton;
    QPushButton *m_doneButton;
    QComboBox *m_dialectChoice;
    QLabel *m_dialectLabel;
    Dialogs &m_dialogs;
    ReportMap m_map;
    QTextCharFormat m_lookupFormat;
    std::int32_t m_errorCount = 0;
    QStringList m_scriptErrors;
    std::int32_t m_errorIndex = -1;
};

} // namespace Korveth
