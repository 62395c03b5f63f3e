#include "AboutBox.h"
#include "AccessibilityWalk.h"
#include "Announcer.h"
#include "Child.h"
#include "DocumentWindow.h"
#include "EditorAppearance.h"
#include "EditorPropertiesDialog.h"
#include "FileBrowser.h"
#include "FindReplaceDialog.h"
#include "HealingGeneratorDialog.h"
#include "HelpCommands.h"
#include "HuntingGeneratorWindow.h"
#include "LabelsPage.h"
#include "LiveDiagnostics.h"
#include "MainMenus.h"
#include "MainWindowFixture.h"
#include "MistakeMarks.h"
#include "OptionsWindow.h"
#include "ReportView.h"
#include "ScriptDebugger.h"
#include "ScriptDebuggerWindow.h"
#include "ScriptPropertiesDialog.h"
#include "ScriptRunnerCommand.h"
#include "ScriptRunnerWindow.h"
#include "SidePane.h"
#include "StartPage.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <Qsci/qscilexer.h>

using namespace Korveth;

// What a screen reader user meets in every window: each control that takes the focus has a name.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *window : {"main window",
                                   "Script Debugger",
                                   "start page",
                                   "hunting generator",
                                   "healing generator",
                                   "options",
                                   "about",
                                   "Script Properties",
                                   "replace",
                                   "editor properties",
                                   "Script Runner"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void everyControlHasAName()
    {
        QFETCH(QString, window);
        MainWindowFixture f;
        std::unique_ptr<QWidget> owned;
        QWidget *shown = nullptr;
        if (window == u"main window") {
            shown = f.window.get();
        } else if (window == u"Script Debugger") {
            f.window->runCommand(QStringLiteral("sdebug"));
            shown = f.window->debugger().window();
        } else if (window == u"start page") {
            owned = std::make_unique<StartPage>(
                f.docs(), f.dialogs, f.window->recentFiles(), QStringLiteral("Start Up"), nullptr);
        } else if (window == u"hunting generator") {
            shown = f.window->showHuntingGenerator();
        } else if (window == u"healing generator") {
            owned = std::make_unique<HealingGeneratorDialog>(
                f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
        } else if (window == u"options") {
            f.window->runCommand(QStringLiteral("options"));
            shown = f.window->findChild<OptionsWindow *>();
        } else if (window == u"about") {
            owned = std::make_unique<AboutBox>(f.dialogs, HelpCommands::website, nullptr);
        } else if (window == u"replace") {
            owned = std::make_unique<FindReplaceDialog>(f.editors.search, nullptr);
        } else if (window == u"Script Runner") {
            f.window->runCommand(QStringLiteral("srun"));
            shown = f.window->scriptRunner().window();
        } else if (window == u"editor properties") {
            owned = std::make_unique<EditorPropertiesDialog>(
                *f.docs().activeDocument()->editor(), f.dialogs, nullptr);
        } else {
            owned = std::make_unique<ScriptPropertiesDialog>(nullptr);
        }
        if (owned)
            shown = owned.get();
        QVERIFY(shown);
        shown->show();
        QStringList problems = AccessibilityWalk::problems(shown);
        // &Save Script, Printer &Setup and &Script Properties are the File menu's captions.
        problems += AccessibilityWalk::accessKeyClashes(shown, {QStringLiteral("&File")});
        // Tab goes round every control of a window; in the main window the script takes Tab as
        // text, and F6 leads out of it (see the test below).
        if (shown != f.window.get()) {
            shown->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(shown));
            problems += AccessibilityWalk::unreachedByTab(shown);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
    // F6 goes round the script and the side pane; Ctrl+1 to Ctrl+3 show a page with the focus in
    // its list; Enter chooses an item there.
    void panesAndTheirItemsByKeyboard()
    {
        MainWindowFixture f;
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("exit\r\nstart:\r\n  goto start\r\n"));
        f.docs().activeDocument()->live().refresh();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_F6);
        QVERIFY(f.window->sidePane().isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), editor);

        f.window->sidePane().hide();
        QTest::keyClick(editor, Qt::Key_3, Qt::ControlModifier);
        QListView *labels = f.window->sidePane().labelsPage()->labelList();
        QVERIFY(f.window->sidePane().isVisible());
        QCOMPARE(QApplication::focusWidget(), labels);
        QTest::keyClick(labels, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(editor->selectionRange(false).startLine, 1); // at "start:"

        QTest::keyClick(editor, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(f.window->sidePane().pages()->currentIndex(), 0);
        QVERIFY(f.window->sidePane().fileBrowser()->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(f.window->menus().action(QStringLiteral("editor"))->isEnabled());
        QVERIFY(f.window->menus().action(QStringLiteral("gener"))->isEnabled());
    }
    // On the Existing tab the arrow keys name a file and Enter opens it; Enter opens a recent one.
    void startPageListsByKeyboard()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("grove.cmd"), "exit");
        f.window->recentFiles().append(path);
        for (int tab : {int(StartPage::Existing), int(StartPage::Recent)}) {
            QString named;
            f.dialogs.modalAnswers.enqueue([&](QDialog &dialog) {
                auto &page = static_cast<StartPage &>(dialog);
                child<QTabWidget>(page, "SSTab1").setCurrentIndex(tab);
                page.setFolder(f.dir.path());
                QAbstractItemView *list = &child<QAbstractItemView>(
                    page, tab == StartPage::Existing ? "filFileName" : "RecentFiles");
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Down);
                named = child<QLineEdit>(page, "txtFileName").text();
                QTest::keyClick(list, Qt::Key_Return);
                return page.result() == QDialog::Accepted;
            });
            f.window->showStartPage(tab);
            if (tab == StartPage::Existing)
                QCOMPARE(named, path);
            QCOMPARE(f.docs().activeDocument()->document().path(), path);
        }
    }
    // Comments readable at 4.5:1, a report readable on a dark high-contrast palette, the forms at
    // the desktop's font size, and a first window that fits the screen.
    void lookFollowsTheSystem()
    {
        MainWindowFixture f;
        const QsciLexer *styles = f.docs().activeDocument()->editor()->lexer();
        for (int style = 0; style <= 3; ++style)
            QVERIFY2(contrastRatio(styles->color(style), styles->paper(style)) >= 4.5,
                     qPrintable(QString::number(style)));

        QPalette dark;
        dark.setColor(QPalette::Base, Qt::black);
        dark.setColor(QPalette::Text, Qt::white);
        ReportView report;
        report.setPalette(dark);
        report.setReportFont(ReportView::defaultFont());
        for (int style = 0; style < 3; ++style) {
            auto colour = [&](int message) {
                const long bgr = report.SendScintilla(message, style);
                return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
            };
            QVERIFY2(contrastRatio(colour(QsciScintillaBase::SCI_STYLEGETFORE),
                                   colour(QsciScintillaBase::SCI_STYLEGETBACK))
                         >= 4.5,
                     qPrintable(QString::number(style)));
        }

        QCOMPARE(ReportView::defaultFont().pointSizeF(), QApplication::font().pointSizeF());
        HealingGeneratorDialog healing(f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
        QCOMPARE(healing.font().pointSizeF(), QApplication::font().pointSizeF());
        const QRect screen = f.window->screen()->availableGeometry();
        QVERIFY(screen.contains(QRect(screen.topLeft(), f.window->size())));
    }
    // The editor's text interface: the text, the selection, and a rectangle per character that a
    // magnifier can follow.
    void editorTextForAssistiveTechnology()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("put \u00e9a\r\ngoto b"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(editor);
        QVERIFY(face);
        QAccessibleTextInterface *text = face->textInterface();
        QVERIFY(text);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("New Script 1"));
        QCOMPARE(text->characterCount(), 14);
        QCOMPARE(text->text(4, 6), QStringLiteral("\u00e9a"));

        editor->setSelection(0, 4, 0, 6);
        int start = -1, end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(4, 6));
        QCOMPARE(text->cursorPosition(), 6);

        const QRect first = text->characterRect(0);
        const QRect second = text->characterRect(1);
        const QRect nextLine = text->characterRect(9);
        QVERIFY(second.left() > first.left());
        QVERIFY(nextLine.top() > first.top());
        QCOMPARE(text->offsetAtPoint(second.center()), 1);
    }
    // Every Scintilla control answers by line, word and character, the last character and the end
    // of the text included, in characters (a note outside the 16-bit range is one); and no
    // offset, however wrong, crashes it.
    void scintillaTextByBoundary_data()
    {
        QTest::addColumn<bool>("report");
        QTest::newRow("script") << false;
        QTest::newRow("debugger report") << true;
    }
    void scintillaTextByBoundary()
    {
        QFETCH(bool, report);
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        ReportView reportView;
        QsciScintilla *control = report ? static_cast<QsciScintilla *>(&reportView) : editor;
        control->setText(QStringLiteral("put stow left\r\ngoto sti\r\n\U0001D11E end"));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        QVERIFY(face && face->textInterface());
        QAccessibleTextInterface *text = face->textInterface();
        QCOMPARE(text->characterCount(), 30);

        using B = QAccessible::TextBoundaryType;
        const struct
        {
            char side; // Before, At, After
            int offset;
            B boundary;
            QString expected;
            int start;
        } asked[] = {
            {'@', 5, B::LineBoundary, QStringLiteral("put stow left\r\n"), 0},
            {'@', 14, B::LineBoundary, QStringLiteral("put stow left\r\n"), 0},
            {'@', 30, B::LineBoundary, QStringLiteral("\U0001D11E end"), 25},
            {'<', 16, B::LineBoundary, QStringLiteral("put stow left\r\n"), 0},
            {'>', 0, B::LineBoundary, QStringLiteral("goto sti\r\n"), 15},
            {'>', 16, B::LineBoundary, QStringLiteral("\U0001D11E end"), 25},
            {'<', 3, B::LineBoundary, QString(), -1},
            {'@', 5, B::WordBoundary, QStringLiteral("stow"), 4},
            {'@', 12, B::CharBoundary, QStringLiteral("t"), 12},
            {'@', 25, B::CharBoundary, QStringLiteral("\U0001D11E"), 25},
            {'@', 29, B::CharBoundary, QStringLiteral("d"), 29},
            {'@', -7, B::LineBoundary, QStringLiteral("put stow left\r\n"), 0},
            {'@', 9000, B::CharBoundary, QString(), 30},
        };
        for (const auto &a : asked) {
            int start = -2, end = -2;
            const QString got
                = a.side == '<'   ? text->textBeforeOffset(a.offset, a.boundary, &start, &end)
                  : a.side == '>' ? text->textAfterOffset(a.offset, a.boundary, &start, &end)
                                  : text->textAtOffset(a.offset, a.boundary, &start, &end);
            const QByteArray where = QByteArray(1, a.side) + QByteArray::number(a.offset);
            QVERIFY2(got == a.expected, where + ": " + got.toUtf8());
            QVERIFY2(start == a.start, where + " starts at " + QByteArray::number(start));
        }
        // A reader that reads a line by its attribute runs reads all of it.
        int start = -1, end = -1;
        text->attributes(5, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 15));
        QCOMPARE(text->text(-5, 3), QStringLiteral("put"));
        for (int offset : {-1, 29, 30, 31, 1 << 30}) {
            text->characterRect(offset);
            text->attributes(offset, &start, &end);
            text->text(offset, offset + 5);
        }
    }
    // Arriving at a line with a mistake, a screen reader hears its verdict once; Next Mistake says
    // what it found. (That the caret's moves reach Orca is heard in the screen reader test.)
    void caretMovesAndMistakesAreTold()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor *editor = document->editor();
        editor->setWholeText(QStringLiteral("put stow left\r\ngoto sti\r\necho hi"));
        document->live().refresh();
        editor->setFocus();
        QSignalSpy said(Announcer::of(editor), &Announcer::announced);
        editor->setCursorPosition(1, 0);
        QTRY_COMPARE(said.count(), 1);
        QCOMPARE(said.last().first().toString(),
                 QStringLiteral("Mistake: Goto Command recognised. Label not found."));
        editor->setCursorPosition(1, 3); // along the line: nothing more
        QTest::qWait(MistakeMarks::announceDelayMs * 2);
        QCOMPARE(said.count(), 1);

        f.window->runCommand(QStringLiteral("nextmistake")); // the only one, on this line
        QCOMPARE(said.last().first().toString(),
                 QStringLiteral("Goto Command recognised. Label not found."));
        editor->setWholeText(QStringLiteral("exit"));
        document->live().refresh();
        f.window->runCommand(QStringLiteral("nextmistake"));
        QCOMPARE(said.last().first().toString(), QStringLiteral("No mistakes"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
