#include "Announcer.h"
#include "Child.h"
#include "DocumentWindow.h"
#include "HostileFiles.h"
#include "MainWindowFixture.h"
#include "ReportView.h"
#include "ScriptDebugger.h"
#include "ScriptDebuggerWindow.h"
#include "ScriptEditor.h"
#include "ScriptRunnerCommand.h"
#include "ScriptRunnerWindow.h"
#include "StyledReport.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace Korveth;

// The Script Debugger: a run's report and summary, stepping through the mistakes, the command
// reference, and the way back from a report line to its script line.
class TestDebugger : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Without a log the user types the game's lines: the run waits for them, then goes on.
    void scriptRunnerTakesTypedLines()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("waitfor ready\r\nput go\r\n"));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        window->stepInto();
        QVERIFY(window->running());
        QCOMPARE(window->status(),
                 QStringLiteral("Waiting for \"ready\". Type a game line below and press Enter."));
        window->gameLine().setText(QStringLiteral("You are READY."));
        QTest::keyClick(&window->gameLine(), Qt::Key_Return);
        QCOMPARE(window->currentLine(), 1);
        window->stepInto();
        QCOMPARE(window->sent().rowCount(), 1);
    }

    // The Script Runner: F8 steps the active script against a log, F9's breakpoint stops
    // Continue, the margin points at the line that runs next, and an edit stops the run.
    void scriptRunnerStepsAndStops()
    {
        MainWindowFixture f;
        QTemporaryDir dir;
        QFile log(dir.filePath(QStringLiteral("game.log")));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("nothing\r\nYou miss.\r\nYou killed it.\r\n");
        log.close();
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral(
            "put attack\r\nmatch hit You miss\r\nmatchwait\r\nhit:\r\nput again\r\nexit\r\n"));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        QVERIFY(window && window->isVisible());
        window->logPath().setText(log.fileName());
        QSignalSpy said(Announcer::of(window), &Announcer::announced);
        QSignalSpy saidInScript(Announcer::of(editor), &Announcer::announced);

        QTest::keyClick(editor, Qt::Key_F8);
        QCOMPARE(window->sent().rowCount(), 1);
        QCOMPARE(window->currentLine(), 1);
        QCOMPARE(window->status(), QStringLiteral("Paused. Next: line 2: match hit You miss"));
        QVERIFY(editor->marginMask(1) & 4);

        editor->setCaretPosition(4, 0);
        QTest::keyClick(editor, Qt::Key_F9);
        window->continueRun();
        QTRY_COMPARE(window->currentLine(), 4);
        QCOMPARE(window->status(), QStringLiteral("Paused at the breakpoint on line 5: put again"));
        // A screen reader hears each pause and the breakpoint, once each.
        QStringList heard;
        for (const QList<QVariant> &announcement : said)
            heard << announcement.first().toString();
        QCOMPARE(heard,
                 QStringList({"Paused. Next: line 2: match hit You miss",
                              "Paused at the breakpoint on line 5: put again"}));
        QCOMPARE(saidInScript.count(), 1);
        QCOMPARE(saidInScript.first().first().toString(),
                 QStringLiteral("Breakpoint set on line 5."));
        QCOMPARE(editor->marginMask(1) & 4, 0);

        QTest::keyClick(editor, Qt::Key_X);
        QVERIFY(!window->running());
        QCOMPARE(window->status(),
                 QStringLiteral("The script was edited, so the run stopped. Run starts it again."));
        QCOMPARE(editor->marginMask(4) & 4, 0);
    }

    // A globals file gives the run its $ globals, the Globals field winning over it; one that
    // cannot be read stops the run with its reason.
    void scriptRunnerGlobalsFile()
    {
        MainWindowFixture f;
        const QString profile = f.write(QStringLiteral("profile.txt"), "$weapon=sword\nzone=1\n");
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("put wield $weapon in $zone\r\n"));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        window->globalsFile().setText(profile);
        window->globals().setText(QStringLiteral("zone=7"));
        window->startRun();
        QTRY_VERIFY(!window->running());
        QCOMPARE(window->sent().data(window->sent().index(0), Qt::DisplayRole).toString(),
                 QStringLiteral("wield sword in 7"));

        window->globalsFile().setText(profile + QStringLiteral(".missing"));
        window->startRun();
        QVERIFY2(window->status().startsWith(u"The globals file "), qPrintable(window->status()));
        QVERIFY(!window->running());
    }

    // The Runner's own keys: F9 sets a breakpoint on the script's caret line, F5 runs to it (line
    // 1 is hit before it runs), F8 steps; Stop is there through a long wait, and Escape closes the
    // window and stops its run. A log that is a pipe is refused at once.
    void scriptRunnerWindowKeysStopAndClose()
    {
        MainWindowFixture f;
        QTemporaryDir dir;
        QFile log(dir.filePath(QStringLiteral("slow.log")));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(QByteArray(17, 'a').append("!\n").repeated(20000)); // a long wait
        log.close();
        QVERIFY(HostileFiles::make(dir.path(), 1));
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("put one\r\nwaitforre /(a+)+$/\r\n"));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Script Runner")));

        window->logPath().setText(dir.filePath(QStringLiteral("Fifo.cmd")));
        window->startRun();
        QTRY_VERIFY(window->status().contains(QStringLiteral("not a file")));
        QVERIFY(!window->running());

        window->logPath().setText(log.fileName());
        editor->setCaretPosition(0, 0);
        QTest::keyClick(window, Qt::Key_F9);
        QVERIFY(editor->marginMask(0) & 2);
        QTest::keyClick(window, Qt::Key_F5);
        QCOMPARE(window->status(), QStringLiteral("Paused at the breakpoint on line 1: put one"));
        QCOMPARE(window->sent().rowCount(), 0);
        QTest::keyClick(window, Qt::Key_F8);
        QCOMPARE(window->sent().rowCount(), 1);

        window->continueRun();
        QVERIFY(window->running());
        QVERIFY(child<QPushButton>(*window, "cmdStop").isEnabled());
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->running());
    }

    // An included script is found beside the script and run in its place, in the editor as on the
    // command line.
    void scriptRunnerRunsIncludedScripts()
    {
        MainWindowFixture f;
        QTemporaryDir dir;
        auto write = [&](const char *name, const QByteArray &text) {
            QFile file(dir.filePath(QLatin1StringView(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        };
        write("sub.cmd", "put from the included script\r\n");
        write("main.cmd", "include sub.cmd\r\nput back\r\n");
        f.docs().OpenDocument(dir.filePath(QStringLiteral("main.cmd")), QStringLiteral("main.cmd"));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        window->startRun();
        QTRY_VERIFY(!window->running());
        QCOMPARE(window->sent().rowCount(), 2);
        QCOMPARE(window->sent().index(0).data().toString(),
                 QStringLiteral("from the included script"));
    }

    // A long script's program is made while the user reads it; an edit after that is run, never
    // the text as it was.
    void scriptRunnerMadeAheadFollowsEdits()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("put one\r\n").repeated(25000));
        f.window->runCommand(QStringLiteral("srun"));
        ScriptRunnerWindow *window = f.window->scriptRunner().window();
        QTRY_VERIFY(window->programMadeAhead()); // after the window's pause, on its thread
        editor->setCaretPosition(0, 4);
        QTest::keyClicks(editor, QStringLiteral("x"));
        window->stepInto();
        QCOMPARE(window->sent().index(0).data().toString(), QStringLiteral("xone"));
    }

    // The run's panes keep the last lines told, however many come between two showings, and tell
    // their views consistently (the model tester checks every insertion and removal).
    void runnerPanesKeepTheLastLines_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("added");
        constexpr int kept = RecentLinesModel::kept;
        QTest::addRow("a few to a few") << 10 << 20;
        QTest::addRow("the oldest go") << kept - 10 << 20;
        QTest::addRow("all shown go") << 100 << kept;
        QTest::addRow("more come than are kept") << 0 << kept + 2000;
    }
    void runnerPanesKeepTheLastLines()
    {
        QFETCH(int, before);
        QFETCH(int, added);
        RecentLinesModel lines;
        QAbstractItemModelTester tester(&lines,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 0; i < before; ++i)
            lines.add(QString::number(i), i);
        lines.publish();
        for (int i = before; i < before + added; ++i)
            lines.add(QString::number(i), i);
        QCOMPARE(lines.rowCount(), before);
        lines.publish();
        const int total = before + added;
        const int shown = qMin(total, RecentLinesModel::kept);
        QCOMPARE(lines.rowCount(), shown);
        QCOMPARE(lines.index(0).data().toString(), QString::number(total - shown));
        QCOMPARE(lines.index(shown - 1).data(RecentLinesModel::ScriptLineRole).toInt(), total - 1);
    }
    void runWritesReportAndSummary_data()
    {
        // clang-format off
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("summary");

        QTest::newRow("empty document") << "" << "" << "0 Lines.\n0 Warning(s).";
        QTest::newRow("ends with CR LF") << "put a\r\n" << "put a - Put Command recognised.\r\n\r\n"
                                         << "2 Lines.\n0 Warning(s).";
        QTest::newRow("a mistake") << "exit\r\nnextroom"
                                   << "exit - Exit Command recognised.\r\n"
                                      "nextroom - Command not recognised.\r\n"
                                   << "2 Lines.\n1 Warning(s).";
        // clang-format on
    }
    void runWritesReportAndSummary()
    {
        QFETCH(QString, script);
        QFETCH(QString, report);
        QFETCH(QString, summary);
        MainWindowFixture f;
        ScriptDebuggerWindow &window = run(f, script);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Script Debugger"));
        QCOMPARE(window.report().text(), report);
        QCOMPARE(summaryOf(window), summary);
        QVERIFY(window.report().isReadOnly());
    }
    void reportColours()
    {
        MainWindowFixture f;
        ScriptDebuggerWindow &window = run(f, QStringLiteral("put a\r\nnextroom"));
        QCOMPARE(window.report().styleAt(0, 0), int(StyledReport::Black)); // the line
        QCOMPARE(window.report().styleAt(0, 6), int(StyledReport::Blue));  // its verdict
        QCOMPARE(window.report().styleAt(1, 0), int(StyledReport::Black));
        QCOMPARE(window.report().styleAt(1, 12), int(StyledReport::Red));

        const QTextBlock lines = child<QTextEdit>(window, "LookupCmd").document()->firstBlock();
        QCOMPARE(lines.begin().fragment().charFormat().foreground().color(), QColor(Qt::black));
        QCOMPARE(lines.next().begin().fragment().charFormat().foreground().color(),
                 QColor(Qt::red));
    }
    void secondRunReplacesEverything()
    {
        MainWindowFixture f;
        ScriptDebuggerWindow &first = run(f, QStringLiteral("nextroom\r\nnextroom"));
        QCOMPARE(first.mistakes().size(), 2);
        first.findNextMistake();
        ScriptDebuggerWindow &second = run(f, QStringLiteral("exit"));
        QCOMPARE(&second, &first);
        QCOMPARE(second.report().text(), QStringLiteral("exit - Exit Command recognised.\r\n"));
        QCOMPARE(summaryOf(second), QStringLiteral("1 Lines.\n0 Warning(s)."));
        QVERIFY(second.mistakes().isEmpty());
        QCOMPARE(second.mistakeShown(), -1);
    }
    void findNextMistake_data()
    {
        // clang-format off
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("selectedLines"); // report line selected after each click

        QTest::newRow("none") << "exit" << 2
            << QStringList{"No Errors found.", "No Errors found."} << QList<int>{-1, -1};
        QTest::newRow("one") << "exit\r\nnextroom" << 3
            << QStringList{"End of File", "End of File"} << QList<int>{1, 1, 1};
        QTest::newRow("three") << "a1\r\nexit\r\na2\r\na3" << 4
            << QStringList{"End of File"} << QList<int>{0, 2, 3, 0};
        QTest::newRow("text found earlier in the report") << "put goblin\r\ngoblin" << 1
            << QStringList{} << QList<int>{1};
        // clang-format on
    }
    void findNextMistake()
    {
        QFETCH(QString, script);
        QFETCH(int, clicks);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, selectedLines);
        MainWindowFixture f;
        ScriptDebuggerWindow &window = run(f, script);
        for (int click = 0; click < clicks; ++click) {
            child<QPushButton>(window, "Command3").click();
            if (selectedLines[click] < 0) {
                QVERIFY(!window.report().hasSelectedText());
                continue;
            }
            int fromLine, fromIndex, toLine, toIndex;
            window.report().getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
            QCOMPARE(fromLine, selectedLines[click]);
            QCOMPARE(fromIndex, 0);
            QCOMPARE(window.report().selectedText(),
                     window.mistakes().value(window.mistakeShown()));
        }
        QCOMPARE(f.dialogs.messageTitles(), messages);
        for (const auto &shown : f.dialogs.shown) {
            QCOMPARE(shown.icon, Dialogs::Icon::None);
            QCOMPARE(shown.text,
                     shown.title == u"End of File"
                         ? QStringLiteral("Reached end of file. Returning to the beginning.")
                         : QStringLiteral("There are no Errors in this Script."));
        }
    }
    void lookup_data()
    {
        // clang-format off
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("shown");

        // Report: "goto a - Goto Command recognised. Label not found." / ...
        QTest::newRow("a key in a verdict") << 0 << 9 << 13
            << "goto\n{goto $}\nJumps to the line label $";
        QTest::newRow("not a key") << 0 << 0 << 6 << "No reference found for goto a";
        QTest::newRow("nothing selected") << 0 << 3 << 3 << "3 Lines.\n2 Warning(s).";
        // clang-format on
    }
    void lookup()
    {
        QFETCH(int, line);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, shown);
        MainWindowFixture f;
        ScriptDebuggerWindow &window = run(f, QStringLiteral("goto a\r\ncounter  add\r\nput"));
        window.report().setSelection(line, from, line, to);
        child<QPushButton>(window, "Command2").click();
        QCOMPARE(summaryOf(window), shown);
        const QTextCharFormat first = child<QTextEdit>(window, "LookupCmd")
                                          .document()
                                          ->firstBlock()
                                          .begin()
                                          .fragment()
                                          .charFormat();
        if (!shown.endsWith(u"Warning(s).")) // the lookup writes in black, as the summary left it
            QCOMPARE(first.foreground().color(), QColor(Qt::black));
        if (line == 0 && from == 9) {
            const QTextBlock syntax
                = child<QTextEdit>(window, "LookupCmd").document()->firstBlock().next();
            const QTextCharFormat format = syntax.begin().fragment().charFormat();
            QVERIFY(format.fontItalic());
            QCOMPARE(format.fontWeight(), int(QFont::Bold));
            QVERIFY(!child<QTextEdit>(window, "LookupCmd")
                         .document()
                         ->lastBlock()
                         .begin()
                         .fragment()
                         .charFormat()
                         .fontItalic());
        }
    }
    void doubleClickShowsTheScriptLine()
    {
        MainWindowFixture f;
        DocumentWindow *checked = f.docs().activeDocument();
        ScriptDebuggerWindow &window = run(f, QStringLiteral("exit\r\nput a\r\nnextroom"));
        f.docs().NewDocument(); // another document is active now
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ReportView &report = window.report();
        const long position = report.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
        const QPoint point(
            int(report.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, position)) + 3,
            int(report.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, position)) + 3);
        QTest::mouseDClick(report.viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(f.docs().activeDocument(), checked);
        QCOMPARE(checked->editor()->selectionRange(false).endLine, 2);
        // Enter on a report line does the same.
        report.SendScintilla(QsciScintillaBase::SCI_GOTOLINE, 1);
        QTest::keyClick(&report, Qt::Key_Return);
        QCOMPARE(checked->editor()->selectionRange(false).endLine, 1);

        // The checked document closed: a double-click does nothing.
        f.docs().activeDocument()->document().setChanged(false);
        f.window->runCommand(QStringLiteral("close"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::mouseDClick(report.viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(f.docs().count(), 1);
    }
    void dialectChoiceReachesTheRun()
    {
        MainWindowFixture f;
        const QString modern = QStringLiteral("include lib\r\nvar x 1\r\ngosub shared\r\nexit");
        ScriptDebuggerWindow &window = run(f, modern);
        // The first run and the live check start from the same dialect: one question, one answer.
        // Never saved, the script's include has nowhere to be looked for.
        QCOMPARE(window.dialectChoice().currentText(), QStringLiteral("Auto"));
        QCOMPARE(summaryOf(window), QStringLiteral("4 Lines.\n2 Warning(s)."));
        f.docs().activeDocument()->live().refresh();
        QCOMPARE(f.docs().activeDocument()->live().mistakeCount(), 2);

        QSignalSpy chosen(&f.window->debugger(), &ScriptDebugger::dialectChosen);
        for (int index : {0, 2}) { // Classic, then Auto again, as a person picks them
            window.dialectChoice().setCurrentIndex(index);
            Q_EMIT window.dialectChoice().activated(index);
            run(f, modern);
            QCOMPARE(summaryOf(window),
                     index == 0 ? QStringLiteral("4 Lines.\n3 Warning(s).")
                                : QStringLiteral("4 Lines.\n2 Warning(s)."));
        }
        QCOMPARE(chosen.size(), 2);

        // Saved beside the script it includes, which defines the label.
        f.write(QStringLiteral("lib.cmd"), "shared:\r\n  return\r\n");
        f.dialogs.fileNames << f.dir.filePath(QStringLiteral("hunt.cmd"));
        f.window->runCommand(QStringLiteral("save"));
        f.window->runCommand(QStringLiteral("sdebug"));
        QCOMPARE(summaryOf(window), QStringLiteral("4 Lines.\n0 Warning(s)."));
    }

private:
    static ScriptDebuggerWindow &run(MainWindowFixture &f, const QString &text)
    {
        f.docs().activeDocument()->editor()->setWholeText(text);
        f.window->runCommand(QStringLiteral("sdebug"));
        ScriptDebuggerWindow *window = f.window->debugger().window();
        if (!window)
            qFatal("no debugger window");
        return *window;
    }
    static QString summaryOf(const ScriptDebuggerWindow &window)
    {
        return child<QTextEdit>(window, "LookupCmd").toPlainText();
    }
};

QTEST_MAIN(TestDebugger)
#include "tst_debugger.moc"
