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
// the command reference. It owns the run state the checker left: ErrorCount and ScriptErrors.
class Script final : public QWidget
{
    Q_OBJECT

public:
    Script(Dialogs &dialogs, QWidget *owner);

    ReportView *ScriptDebug;
    QTextEdit *LookupCmd;
    QLabel *Label1;
    QPushButton *Command3; // Find Next Mistake
    QPushButton *Command2; // Lookup
    QPushButton *Command1; // Done
    QComboBox *cboDialect; // Classic, Modern, Auto: what the next run checks in

    std::int32_t ErrorCount = 0;
    QStringList ScriptErrors;
    std::int32_t ErrorIndex = -1;

    // Empties the report, the summary box and the mistakes before a run.
    void resetRun();
    // Takes a finished run: its report, where its mistakes stand, and the checker's counts.
    void takeRun(StyledReport &report,
                 ReportMap map,
                 std::int32_t errorCount,
                 const QStringList &scriptErrors);
    // Writes "N Lines." and "M Warning(s)." into LookupCmd.
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

    QLabel *m_dialectLabel;
    Dialogs &m_dialogs;
    ReportMap m_map;
    QTextCharFormat m_lookupFormat;
};

} // namespace Korveth
