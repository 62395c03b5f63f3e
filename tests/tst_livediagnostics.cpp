#include "DocumentArea.h"
#include "DocumentWindow.h"
#include "EditorHover.h"
#include "HostileFiles.h"
#include "LabelsPage.h"
#include "LiveCheckSettings.h"
#include "LiveDiagnostics.h"
#include "MainMenus.h"
#include "MainWindowFixture.h"
#include "RegularFile.h"
#include "ScriptCompletion.h"
#include "SidePane.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QThreadPool>

#include <functional>

using namespace Korveth;

class TestLiveDiagnostics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mistakesAreMarkedWhereTheyAre()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("puut x\r\ngoto nowhere\r\nstart:\r\n  goto start"));
        document->live().refresh();
        QCOMPARE(document->live().mistakeCount(), 2);
        QVERIFY(squiggled(editor, 0));     // "puut"
        QVERIFY(!squiggled(editor, 5));    // "x"
        QVERIFY(squiggled(editor, 8 + 5)); // "nowhere"
        QVERIFY(!squiggled(editor, 8));    // "goto"
        QVERIFY(marked(editor, 0) && marked(editor, 1));
        QVERIFY(!marked(editor, 2) && !marked(editor, 3));
        QVERIFY(editor.marginWidth(MistakeMarks::margin) > 0);
        // Mended in place, the line's mark leaves the screen while the other stays.
        editor.setSelection(0, 0, 0, 4);
        editor.replaceSelectedText(QStringLiteral("put "));
        document->live().refresh();
        QVERIFY(!marked(editor, 0) && marked(editor, 1));
        auto *panel = f.window->statusBar()->findChild<QLabel *>(QStringLiteral("mistakesPanel"));
        QVERIFY(panel);
        QTRY_COMPARE(panel->text(), QStringLiteral("1 mistake"));
    }
    // Marks kept through edits (the editor moves them with the text) and then painted again are
    // the marks a fresh paint of the same text makes.
    void marksAfterEditsAreAFreshPaints()
    {
        MainWindowFixture f;
        DocumentWindow *edited = f.docs().activeDocument();
        DocumentWindow *fresh = f.docs().NewDocument();
        ScriptEditor &editor = *edited->editor();
        editor.setWholeText(
            QStringLiteral("puut x\r\ngoto nowhere\r\nstart:\r\n  goto start\r\nbad bad bad"));
        edited->live().refresh();
        const std::function<void()> edits[] = {
            [&] { editor.insertAt(QStringLiteral("wat\r\n"), 0, 0); }, // a mistake above the rest
            [&] { editor.setSelection(3, 0, 4, 0), editor.removeSelectedText(); }, // "start:" gone
            [&] { editor.setSelection(1, 0, 1, 4), editor.replaceSelectedText("put"); },
            [&] { editor.insertAt(QStringLiteral("start: "), 4, 0); }, // a label back, no mistake
            [&] { editor.undo(); },
            [&] { editor.redo(); },
            [&] {
                editor.replaceRanges({{0, 2}, {9, 10}}, QStringLiteral("é\r\n"));
            },
            [&] { editor.setWholeText(QStringLiteral("put x\r\nexit")); },
            // A file loaded in its place, as long as the text was: no edit is told.
            [&] { editor.loadUtf8("goto x\r\nyz:", LineEnding::CrLf); },
            [&] { editor.setWholeText(QStringLiteral("a\r\nb b\r\nc")); },
        };
        for (const auto &edit : edits) {
            edit();
            edited->live().refresh();
            QCOMPARE(edited->live().model().utf8(), editor.utf8().toByteArray());
            fresh->editor()->setWholeText(editor.text());
            fresh->live().refresh();
            QCOMPARE(marks(editor), marks(*fresh->editor()));
            // The margin shows only while there is something in it.
            QCOMPARE(editor.marginWidth(MistakeMarks::margin) > 0, !marks(editor).isEmpty());
        }
        QCOMPARE(marks(editor).size(), 6); // three unknown commands: three squiggles, three marks
    }
    void typingIsCheckedOnlyOnceItRests()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("goto home"));
        document->live().refresh();
        QCOMPARE(document->live().mistakeCount(), 1);
        QSignalSpy checked(&document->live(), &LiveDiagnostics::mistakesChanged);
        editor.append(QStringLiteral("\r\nhome:"));
        QCOMPARE(checked.count(), 0); // not while typing goes on
        QVERIFY(checked.wait(5 * LiveDiagnostics::restMs));
        QCOMPARE(checked.last().first().toInt(), 0);
        QVERIFY(!squiggled(editor, 5));
        // An edit within a line is heard too: "home:" becomes "homer:".
        editor.insertAt(QStringLiteral("r"), 1, 4);
        QVERIFY(checked.wait(5 * LiveDiagnostics::restMs));
        QCOMPARE(checked.last().first().toInt(), 1);
    }
    void nextMistakeGoesRoundAndLabelsAreFollowed()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("hunt:\r\nbad one\r\ngoto hunt\r\ngoto gone"));
        editor.setCaretPosition(0, 0);
        f.window->runCommand(QStringLiteral("nextmistake"));
        QCOMPARE(selection(editor), QStringLiteral("bad"));
        f.window->runCommand(QStringLiteral("nextmistake"));
        QCOMPARE(selection(editor), QStringLiteral("gone"));
        f.window->runCommand(QStringLiteral("nextmistake")); // round to the top
        QCOMPARE(selection(editor), QStringLiteral("bad"));
        // What a screen reader hears: the verdict in the status bar, and as the editor's
        // description while the caret stands on a marked line.
        QCOMPARE(f.window->statusBar()->currentMessage(),
                 QStringLiteral("Command not recognised."));
        QCOMPARE(editor.accessibleDescription(),
                 QStringLiteral("Mistake: Command not recognised."));
        editor.setCaretPosition(0, 0);
        QCOMPARE(editor.accessibleDescription(), QString());

        editor.setCaretPosition(2, 7);
        f.window->runCommand(QStringLiteral("golabel"));
        QCOMPARE(selection(editor), QStringLiteral("hunt"));
        int line = -1, column = -1;
        editor.getCursorPosition(&line, &column);
        QCOMPARE(line, 0);
        QCOMPARE(f.window->menus().action(QStringLiteral("golabel"))->shortcut(),
                 QKeySequence(Qt::Key_F12));

        editor.setWholeText(QStringLiteral("exit"));
        f.window->runCommand(QStringLiteral("nextmistake"));
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("No mistakes"));
    }
    void theViewSwitchClearsTheMarksOnly()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("puut x"));
        document->live().refresh();
        QVERIFY(marked(editor, 0));
        QAction *toggle = f.window->menus().action(QStringLiteral("mistakes"));
        QVERIFY(toggle->isChecked());
        toggle->trigger();
        QVERIFY(!f.editors.liveCheck.enabled());
        QVERIFY(!marked(editor, 0));
        QVERIFY(!squiggled(editor, 0));
        QCOMPARE(document->live().mistakeCount(), 0);
        // Switched off, nothing is marked, but the Labels page still follows the typing.
        f.window->sidePane().pages()->setCurrentWidget(f.window->sidePane().labelsPage());
        editor.append(QStringLiteral("\r\nhome:\r\npuut y"));
        QTRY_COMPARE(f.window->sidePane().labelsPage()->labelList()->model()->rowCount(), 1);
        QVERIFY(!marked(editor, 2));
        toggle->trigger();
        QVERIFY(marked(editor, 0));
        QVERIFY(marked(editor, 2));
    }
    void completionOffersCommandsThenLabels()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("Hunt:\r\nhome:\r\n"));
        document->live().refresh(); // labels are offered as last checked
        editor.setCaretPosition(2, 0);
        editor.setFocus();
        QTest::keyClicks(&editor, QStringLiteral("GO"));
        QVERIFY(editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
        char current[64] = {};
        editor.SendScintilla(QsciScintillaBase::SCI_AUTOCGETCURRENTTEXT, 0UL, current);
        QCOMPARE(QByteArray(current), QByteArray("goto")); // letter case ignored
        editor.SendScintilla(QsciScintillaBase::SCI_AUTOCCANCEL);
        QTest::keyClicks(&editor, QStringLiteral("to h"));
        QVERIFY(editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
        editor.SendScintilla(QsciScintillaBase::SCI_AUTOCGETCURRENTTEXT, 0UL, current);
        QCOMPARE(QByteArray(current), QByteArray("home")); // sorted: home before Hunt
        QTest::keyClick(&editor, Qt::Key_Return);
        QCOMPARE(editor.text(2), QStringLiteral("GOto home"));
        // A label typed since is offered once it is checked; one moved down is still offered.
        editor.setCaretPosition(0, 0);
        QTest::keyClicks(&editor, QStringLiteral("hall:\r"));
        document->live().refresh();
        editor.setCaretPosition(3, 9);
        QTest::keyClicks(&editor, QStringLiteral("\rgoto ha"));
        QVERIFY(editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
        editor.SendScintilla(QsciScintillaBase::SCI_AUTOCGETCURRENTTEXT, 0UL, current);
        QCOMPARE(QByteArray(current), QByteArray("hall"));
        editor.SendScintilla(QsciScintillaBase::SCI_AUTOCCANCEL);
        // A window moved off the screens offers no list rather than fail to place it.
        f.window->move(20000, 20000);
        QTest::keyClicks(&editor, QStringLiteral("\rgo"));
        QVERIFY(!editor.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
    }
    // Asked for while a check runs (that check makes none), the labels come once it is done.
    void labelsAskedForDuringACheckCome()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        QString text;
        for (int i = 0; i < 20000; ++i)
            text += QStringLiteral("l%1:\r\ngoto l%1\r\n").arg(i);
        document->editor()->setWholeText(text);
        QElapsedTimer waited;
        waited.start();
        while (QThreadPool::globalInstance()->activeThreadCount() == 0 && waited.elapsed() < 5000)
            QCoreApplication::processEvents(); // until the check has begun
        LabelsPage &page = *f.window->sidePane().labelsPage();
        f.window->sidePane().pages()->setCurrentWidget(&page);
        QTRY_COMPARE(page.labelList()->model()->rowCount(), 20000);
    }
    void labelsPageAndReferences()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(
            QStringLiteral("start:\r\nhunt:\r\ngoto start\r\nmatch START text\r\nStart:"));
        document->live().refresh();
        LabelsPage &page = *f.window->sidePane().labelsPage();
        // Until the page is seen, or a label completed, no list of the labels is made.
        QCOMPARE(document->live().completionWords().defined.size(), 0);
        f.window->sidePane().pages()->setCurrentWidget(&page);
        QCOMPARE(page.labelList()->model()->rowCount(), 3);
        QCOMPARE(page.labelList()->model()->index(1, 0).data(), QStringLiteral("hunt  (line 2)"));
        page.filterBox()->setText(QStringLiteral("ST"));
        QCOMPARE(page.labelList()->model()->rowCount(), 2); // hunt is left out
        QCOMPARE(page.labelList()->model()->index(1, 0).data(), QStringLiteral("Start  (line 5)"));

        editor.setCaretPosition(2, 6);
        f.window->runCommand(QStringLiteral("findrefs"));
        QCOMPARE(f.window->sidePane().pages()->currentWidget(), &page);
        QCOMPARE(page.referenceList()->count(), 2);
        QCOMPARE(page.referenceList()->item(1)->text(), QStringLiteral("4: match START text"));
        // Choosing a reference goes there.
        editor.setCaretPosition(0, 0);
        Q_EMIT page.referenceList()->itemActivated(page.referenceList()->item(1));
        QCOMPARE(editor.selectedText(), QStringLiteral("START"));
        int line = -1, column = -1;
        editor.getCursorPosition(&line, &column);
        QCOMPARE(line, 3);
        // A line typed above moves the labels, their names the same.
        editor.insertAt(QStringLiteral("put x\r\n"), 0, 0);
        document->live().refresh();
        QCOMPARE(page.labelList()->model()->index(1, 0).data(), QStringLiteral("Start  (line 6)"));
    }
    // Only a jump's or a match's own label operand is renamed: never trigger text, echoed or said
    // text, or a comment; and never to a name that would break the line.
    void renameIsOneUndoableStep()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        const QString untouched
            = QStringLiteral("put start\r\nmatch start2 you goto start now\r\n"
                             "echo I will goto start\r\nput say gosub start please"
                             "\r\n# goto start\r\n");
        const QString before = QStringLiteral("start:\r\n  goto start\r\nif x then gosub Start\r\n"
                                              "action put x;goto start when flee\r\nstart2:\r\n")
                               + untouched;
        editor.setWholeText(before);
        for (const char *refused : {"two words", "}x", "#x", "a\x01b", "a:b"}) {
            editor.setCaretPosition(1, 8);
            f.dialogs.values.enqueue(QString::fromLatin1(refused));
            f.window->runCommand(QStringLiteral("renamelabel"));
            QCOMPARE(editor.crlfText(), before);
            QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Rename Label"));
        }
        editor.setCaretPosition(1, 8);
        f.dialogs.values.enqueue(QStringLiteral("begin"));
        f.window->runCommand(QStringLiteral("renamelabel"));
        QCOMPARE(editor.crlfText(),
                 QStringLiteral("begin:\r\n  goto begin\r\nif x then gosub begin\r\n"
                                "action put x;goto begin when flee\r\nstart2:\r\n")
                     + untouched);
        QCOMPARE(document->live().mistakeCount(), 0);
        editor.undo();
        QCOMPARE(editor.crlfText(), before);

        // A new name that differs only in letter case is no clash with the label itself.
        editor.setCaretPosition(1, 8);
        f.dialogs.values.enqueue(QStringLiteral("START"));
        f.window->runCommand(QStringLiteral("renamelabel"));
        QVERIFY2(
            editor.crlfText().startsWith(u"START:\r\n  goto START\r\nif x then gosub START\r\n"),
            qPrintable(editor.crlfText()));
    }
    // A label defined in an included script: the rename reaches its definition and every script
    // that includes it, opened with the change for the user to save; a name already taken is
    // refused. Find References lists them all.
    void renameReachesTheLibrary()
    {
        MainWindowFixture f;
        f.editors.liveCheck.setScriptsFolder(f.dir.path());
        const QString lib = f.write(QStringLiteral("lib.cmd"), "shared:\r\n  return\r\nother:\r\n");
        const QString far = f.write(QStringLiteral("far.cmd"), "include lib\r\ngoto shared\r\n");
        const QString main = f.write(QStringLiteral("main.cmd"), "include lib\r\ngosub shared\r\n");
        DocumentWindow *document = f.docs().OpenDocument(main, QStringLiteral("main.cmd"));
        for (const char *name : {"OTHER", "begin"}) {
            document->editor()->setCaretPosition(1, 8);
            f.dialogs.values.enqueue(QString::fromLatin1(name));
            f.window->runCommand(QStringLiteral("renamelabel"));
        }
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Rename Label"})); // OTHER refused
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("include lib\r\ngosub begin\r\n"));
        DocumentWindow *opened = f.docs().documentOfFile(lib);
        QVERIFY(opened && f.docs().documentOfFile(far));
        QCOMPARE(opened->editor()->crlfText(), QStringLiteral("begin:\r\n  return\r\nother:\r\n"));
        QVERIFY(opened->Changed());
        QCOMPARE(MainWindowFixture::read(lib), QByteArray("shared:\r\n  return\r\nother:\r\n"));
        QCOMPARE(f.docs().documentOfFile(far)->editor()->crlfText(),
                 QStringLiteral("include lib\r\ngoto begin\r\n"));
        QCOMPARE(f.docs().activeDocument(), document);
        document->editor()->setCaretPosition(1, 8);
        f.window->runCommand(QStringLiteral("findrefs"));
        LabelsPage &page = *f.window->sidePane().labelsPage();
        QCOMPARE(page.referenceList()->count(), 2);
        QCOMPARE(page.referenceList()->item(0)->text(), QStringLiteral("far.cmd:2: goto begin"));
        Q_EMIT page.referenceList()->itemActivated(page.referenceList()->item(0));
        QCOMPARE(f.docs().activeDocument(), f.docs().documentOfFile(far));

        // Undone where it started, the rename is undone wherever it reached; a script edited
        // since keeps it, and is named.
        f.window->area().activate(document);
        for (const bool farEdited : {false, true}) {
            document->editor()->setCaretPosition(1, 8);
            f.dialogs.values.enqueue(QStringLiteral("again"));
            f.window->runCommand(QStringLiteral("renamelabel"));
            ScriptEditor &farEditor = *f.docs().documentOfFile(far)->editor();
            QCOMPARE(farEditor.crlfText(), QStringLiteral("include lib\r\ngoto again\r\n"));
            if (farEdited)
                farEditor.append(QStringLiteral("exit\r\n"));
            document->editor()->undo();
            QCOMPARE(document->editor()->crlfText(),
                     QStringLiteral("include lib\r\ngosub begin\r\n"));
            QTRY_COMPARE(opened->editor()->crlfText(),
                         QStringLiteral("begin:\r\n  return\r\nother:\r\n"));
            QCOMPARE(farEditor.crlfText(),
                     farEdited ? QStringLiteral("include lib\r\ngoto again\r\nexit\r\n")
                               : QStringLiteral("include lib\r\ngoto begin\r\n"));
            if (farEdited) {
                QTRY_VERIFY(f.dialogs.shown.last().text.endsWith(u"keep the new name: far.cmd."));
                farEditor.undo();
            }
        }

        // A library too deep to walk whole might hide a script: the rename is refused.
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("a/b/c/d/e/f/g/h/i/j")));
        document->editor()->setCaretPosition(1, 8);
        f.dialogs.values.enqueue(QStringLiteral("again"));
        f.window->runCommand(QStringLiteral("renamelabel"));
        QVERIFY(f.dialogs.shown.last().text.endsWith(u"Nothing was renamed."));
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("include lib\r\ngosub begin\r\n"));
    }
    void goToLabelOpensTheIncludedScript()
    {
        MainWindowFixture f;
        QFile lib(f.dir.filePath(QStringLiteral("lib.cmd")));
        QVERIFY(lib.open(QIODevice::WriteOnly));
        lib.write("put a\r\n  shared:\r\nreturn\r\n");
        lib.close();
        QFile main(f.dir.filePath(QStringLiteral("main.cmd")));
        QVERIFY(main.open(QIODevice::WriteOnly));
        main.write("include lib\r\ngosub shared\r\n");
        main.close();
        DocumentWindow *document
            = f.docs().OpenDocument(main.fileName(), QStringLiteral("main.cmd"));
        QVERIFY(document);
        document->live().refresh();
        QCOMPARE(document->live().mistakeCount(), 0);
        document->editor()->setCaretPosition(1, 8);
        // A Ctrl+click on the reference does what F12 does.
        QTest::mouseClick(document->editor()->viewport(),
                          Qt::LeftButton,
                          Qt::ControlModifier,
                          QPoint(int(document->editor()->SendScintilla(
                                     QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, 22L)),
                                 int(document->editor()->SendScintilla(
                                     QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, 22L))
                                     + 3));
        QTRY_VERIFY(f.docs().activeDocument() != document);
        DocumentWindow *opened = f.docs().activeDocument();
        QCOMPARE(QFileInfo(opened->document().path()).fileName(), QStringLiteral("lib.cmd"));
        QCOMPARE(opened->editor()->selectedText(), QStringLiteral("shared"));
        // Its text, edited and not saved, is what the other script includes now; closed
        // without saving, its file again.
        opened->editor()->setWholeText(QStringLiteral("put a\r\nreturn\r\n"));
        QTRY_COMPARE(document->live().mistakeCount(), 1);
        f.dialogs.answers << Dialogs::Answer::No;
        f.window->runCommand(QStringLiteral("close"));
        QTRY_COMPARE(document->live().mistakeCount(), 0);
    }
    void aHugeScriptIsLeftToTheDebugger()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        const QByteArray line = "puut x\r\n";
        editor.setWholeText(
            QString::fromLatin1(line.repeated(LiveDiagnostics::maxBytes / line.size() + 1)));
        document->live().refresh();
        QVERIFY(!marked(editor, 0));
        QCOMPARE(document->live().mistakeCount(), 0);
        auto *panel = f.window->statusBar()->findChild<QLabel *>(QStringLiteral("mistakesPanel"));
        QCOMPARE(panel->text(), QStringLiteral("Too large to check as you type"));
        // Cut back below the limit, it is followed again.
        editor.setWholeText(QStringLiteral("puut x"));
        document->live().refresh();
        QVERIFY(marked(editor, 0));
        QCOMPARE(panel->text(), QStringLiteral("1 mistake"));
    }
    void onlyScriptsAreCheckedAndIncludesNeverHang_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("mistakes");
        QTest::newRow("script") << "hunt.cmd" << QByteArray("puut x") << 1;
        QTest::newRow("not a script") << "readme.txt" << QByteArray("puut x") << 0;
        QTest::newRow("includes of a FIFO, devices and a huge file")
            << "main.cmd" << HostileFiles::includingScript() << 4;
    }
    // A FIFO, a device or a huge file, included or opened, is told about and never read.
    void onlyScriptsAreCheckedAndIncludesNeverHang()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, text);
        QFETCH(int, mistakes);
        MainWindowFixture f;
        QVERIFY(HostileFiles::make(f.dir.path(), maxScriptBytes + 1));
        const QString path = f.write(name, text);
        DocumentWindow *document = f.docs().OpenDocument(path, name);
        QVERIFY(document);
        document->live().refresh();
        QCOMPARE(document->live().mistakeCount(), mistakes);
        QCOMPARE(marked(*document->editor(), 0), mistakes > 0);
        for (const char *hostile : {"Fifo.cmd", "Zero.cmd", "Stdin.cmd", "Huge.cmd"}) {
            QVERIFY(!f.docs().OpenDocument(f.dir.filePath(QLatin1StringView(hostile)), {}));
            QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Open Script"));
        }
        QCOMPARE(f.docs().count(), 2);
    }
    void ctrlShowsTheLinkUnderThePointer()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        ScriptEditor &editor = *document->editor();
        editor.setWholeText(QStringLiteral("hunt:\r\n  goto hunt\r\n  put x"));
        QWidget *viewport = editor.viewport();
        auto pointAt = [&](long position) {
            return QPoint(
                int(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position))
                    + 2,
                int(editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position))
                    + 3);
        };
        auto move = [&](long position, Qt::KeyboardModifiers modifiers) {
            const QPoint point = pointAt(position);
            QMouseEvent event(QEvent::MouseMove,
                              point,
                              viewport->mapToGlobal(point),
                              Qt::NoButton,
                              Qt::NoButton,
                              modifiers);
            QCoreApplication::sendEvent(viewport, &event);
        };
        auto linked = [&](long position) {
            return editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                        EditorHover::linkIndicator,
                                        position)
                   != 0;
        };
        const long hunt = 7 + 7; // "hunt" on the second line
        move(hunt + 1, Qt::ControlModifier);
        QVERIFY(linked(hunt) && linked(hunt + 3) && !linked(hunt + 4) && !linked(hunt - 2));
        QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
        move(hunt + 1, Qt::NoModifier); // Ctrl let go
        QVERIFY(!linked(hunt));
        QVERIFY(viewport->cursor().shape() != Qt::PointingHandCursor);
        move(7 + 11 + 3, Qt::ControlModifier); // "put x" names no label
        QVERIFY(!linked(7 + 11 + 3));
    }

private:
    static bool squiggled(ScriptEditor &editor, long position)
    {
        return editor.SendScintilla(
                   QsciScintillaBase::SCI_INDICATORVALUEAT, MistakeMarks::indicator, position)
               != 0;
    }
    // Whether the margin shows the mistake mark on the line, as the screen shows it now.
    static bool marked(ScriptEditor &editor, int line)
    {
        QCoreApplication::processEvents();
        QWidget *window = editor.window();
        const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
        return marked(editor,
                      screen.copy(QRect(editor.viewport()->mapTo(window, QPoint()),
                                        editor.viewport()->size())),
                      line);
    }
    static bool marked(ScriptEditor &editor, const QImage &view, int line)
    {
        int left = 0;
        for (int m = 0; m < MistakeMarks::margin; ++m)
            left += editor.marginWidth(m);
        const long start = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
        const int top
            = int(editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, start));
        const int height = int(editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, line));
        const QColor centre = view.pixelColor(left + editor.marginWidth(MistakeMarks::margin) / 2,
                                              top + height / 2);
        return centre.red() > 150 && centre.green() < 100 && centre.blue() < 100;
    }
    static QString selection(ScriptEditor &editor) { return editor.selectedText(); }
    // Each squiggle as "start-end", then each marked line as "line N".
    static QStringList marks(ScriptEditor &editor)
    {
        QStringList found;
        for (long at = 0; at < editor.length(); ++at) {
            if (squiggled(editor, at) && (at == 0 || !squiggled(editor, at - 1))) {
                long end = at;
                while (end < editor.length() && squiggled(editor, end))
                    ++end;
                found << QStringLiteral("%1-%2").arg(at).arg(end);
            }
        }
        const QImage view = editor.viewport()->grab().toImage();
        for (int line = 0; line < editor.lines(); ++line)
            if (marked(editor, view, line))
                found << QStringLiteral("line %1").arg(line);
        return found;
    }
};

QTEST_MAIN(TestLiveDiagnostics)
#include "tst_livediagnostics.moc"
