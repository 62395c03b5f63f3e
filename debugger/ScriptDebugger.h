#pragma once

#include "ModernChecker.h"

#include <QFont>
#include <QObject>
#include <QPointer>

#include <optional>

class QWidget;

namespace Korveth {

class CommandRegistry;
class Dialogs;
class DocumentArea;
class DocumentManager;
class ScriptDebuggerWindow;
class DocumentWindow;

// Runs the Script Debugger on the active document: the progress window while the check runs,
// then the Script Debugger window with the report and its summary.
class ScriptDebugger final : public QObject
{
    Q_OBJECT

public:
    ScriptDebugger(DocumentManager &documents,
                   DocumentArea &area,
                   Dialogs &dialogs,
                   QWidget &owner,
                   QObject *parent = nullptr);

    void registerIn(CommandRegistry &commands);

    // Checks the active document; with no document open it does nothing.
    void Start();
    // The window of the last run, while it is open.
    ScriptDebuggerWindow *window() const;
    // The dialect runs check in; the window offers the choice.
    DialectChoice dialect() const { return m_dialect; }
    void setDialect(DialectChoice dialect);

    // The report's font, kept for every later window.
    void setReportFont(const QFont &font);
    QFont reportFont() const;

Q_SIGNALS:
    // The user picked a dialect in the window.
    void dialectChosen(DialectChoice dialect);

private:
    ScriptDebuggerWindow &windowForRun();
    void showScriptLine(int line);

    DocumentManager &m_documents;
    DocumentArea &m_area;
    Dialogs &m_dialogs;
    QWidget &m_owner;
    QPointer<ScriptDebuggerWindow> m_window;
    QPointer<DocumentWindow> m_checked;
    std::optional<QFont> m_reportFont;
    DialectChoice m_dialect = DialectChoice::Auto; // as the live check starts
};

} // namespace Korveth
