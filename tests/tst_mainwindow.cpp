#include "Corpus.h"
#include "DocumentTabs.h"
#include "DocumentWindow.h"
#include "FileStore.h"
#include "LabelsPage.h"
#include "MainMenus.h"
#include "MainWindowFixture.h"
#include "SidePane.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace Korveth;

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsWithOneNewDocument()
    {
        MainWindowFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("New Script 1 - Korveth Script Editor"));
        QVERIFY(f.docs().activeDocument()->parentWidget()->isMaximized());
        QCOMPARE(f.docs().count(), 1);
        QCOMPARE(f.docs().activeDocument()->windowTitle(), QStringLiteral("New Script 1"));
        QCOMPARE(f.window->tb().captions(), QStringList({"New Script 1"}));
        QVERIFY(f.window->settingsEditor());
        QVERIFY(!f.window->settingsEditor()->isVisible());
        QVERIFY(f.dialogs.shown.isEmpty());
    }
    void commandLineIsOnePath_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("quoted");
        QTest::addColumn<bool>("opens");

        QTest::newRow("blanks, no quotes") << "my hunting script.cmd" << false << true;
        QTest::newRow("quotes stay") << "quoted script.cmd" << true << false;
        // clang-format on
    }
    void commandLineIsOnePath()
    {
        QFETCH(QString, name);
        QFETCH(bool, quoted);
        QFETCH(bool, opens);

        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("put a");
        file.close();

        // The shell cuts an unquoted path at its blanks; a quoted one arrives whole, quotes and all
        // when the caller quoted twice.
        const QString commandLine = quoted ? u'"' + path + u'"' : path;
        MainWindowFixture f(quoted ? QStringList{commandLine} : path.split(u' '));
        QCOMPARE(f.docs().count(), opens ? 1 : 0);
        if (opens) {
            QCOMPARE(f.docs().activeDocument()->windowTitle(), path);
            QCOMPARE(f.window->tb().captions(), QStringList({path}));
            QCOMPARE(f.docs().activeDocument()->editor()->crlfText(), QStringLiteral("put a"));
        } else {
            // The program names the file it could not open, quotes and all.
            QCOMPARE(f.dialogs.messageTitles(), QStringList({"Open Script"}));
            QVERIFY(f.dialogs.shown.last().text.contains(commandLine));
        }
    }
    void commandLineOpensEachFile()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (const char *name : {"b.cmd", "a.cmd"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name);
            paths << file.fileName();
        }
        MainWindowFixture f(paths);
        QCOMPARE(f.docs().count(), 2);
        QCOMPARE(f.window->tb().captions(), paths);
        QCOMPARE(f.docs().activeDocument()->editor()->crlfText(), QStringLiteral("a.cmd"));
    }
    void dropReportsEachFailureAndOpensTheRest()
    {
        MainWindowFixture f;
        const QList<QUrl> urls{QUrl::fromLocalFile(f.write(QStringLiteral("a.cmd"), "a")),
                               QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("gone.cmd"))),
                               QUrl::fromLocalFile(f.dir.path()),
                               QUrl::fromLocalFile(f.write(QStringLiteral("b.cmd"), "b"))};
        f.window->openDroppedFiles(urls);
        QCOMPARE(f.docs().count(), 3);
        QCOMPARE(f.docs().activeDocument()->editor()->crlfText(), QStringLiteral("b"));
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Open Script", "Open Script"}));
        QVERIFY(f.dialogs.shown[0].text.contains(QStringLiteral("gone.cmd")));
        QVERIFY(f.dialogs.shown[1].text.contains(f.dir.path()));
    }
    // Exit asks about each changed document, showing it. Cancel, or Yes and then a cancelled Save
    // As, keeps the program running: nothing may be lost.
    void exitAsksAboutEachChangedDocument()
    {
        MainWindowFixture f;
        f.docs().activeDocument()->editor()->setWholeText(QStringLiteral("one"));
        f.docs().NewDocument()->editor()->setWholeText(QStringLiteral("two"));
        f.docs().NewDocument(); // unchanged and active: asks nothing
        QStringList shownWhileAsking;
        f.dialogs.onMessage = [&](const ScriptedDialogs::Shown &) {
            shownWhileAsking << f.docs().activeDocument()->windowTitle();
        };
        f.dialogs.answers << Dialogs::Answer::Cancel << Dialogs::Answer::Yes;
        f.dialogs.fileNames << QString();
        for (int time = 0; time < 2; ++time) {
            f.window->runCommand(QStringLiteral("exit"));
            QVERIFY(f.window->isVisible());
            QCOMPARE(f.docs().count(), 3);
        }
        f.dialogs.answers << Dialogs::Answer::No << Dialogs::Answer::No;
        f.window->runCommand(QStringLiteral("exit"));
        QCOMPARE(shownWhileAsking,
                 QStringList({"New Script 1", "New Script 1", "New Script 1", "New Script 2"}));
        QCOMPARE(f.docs().count(), 0);
        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.window->settingsEditor());
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }
    // Start-up opening each real script, once, for the sanitizers to look at.
    void startUpWithEachCorpusFile()
    {
        KORVETH_CORPUS_OR_SKIP(corpus);
        int files = 0;
        QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            MainWindowFixture f({path});
            QCOMPARE(f.docs().count(), 1);
            QVERIFY(f.dialogs.shown.isEmpty());
            ++files;
        }
        QVERIFY(files > 400);
    }
    void dataFolderBesideOrInstalled()
    {
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        QVERIFY(root.mkpath(QStringLiteral("share/korveth-script-editor")));
        ProgramPaths installed
            = ProgramPaths::forExecutableFolder(root.filePath(QStringLiteral("bin")));
        QVERIFY(installed.installed());
        QCOMPARE(installed.dataFile(QStringLiteral("huntgen.dat")),
                 root.filePath(QStringLiteral("share/korveth-script-editor/huntgen.dat")));

        // A build tree keeps its data beside the program, even below such a prefix.
        QFile data(root.filePath(QStringLiteral("bin/huntgen.dat")));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.close();
        ProgramPaths beside
            = ProgramPaths::forExecutableFolder(root.filePath(QStringLiteral("bin")));
        QVERIFY(!beside.installed());
        QCOMPARE(beside.programFolder(), root.filePath(QStringLiteral("bin")));
    }
    void clipboardKeysReachTheMenuCommands()
    {
        MainWindowFixture f;
        f.window->activateWindow();
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

        int cuts = 0;
        QObject::connect(
            f.window->menus().action(QStringLiteral("cut")), &QAction::triggered, [&] { ++cuts; });
        editor->setWholeText(QStringLiteral("put goblin"));
        editor->setSelection(0, 4, 0, 10);
        QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(cuts, 1);
        QCOMPARE(editor->crlfText(), QStringLiteral("put "));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("goblin"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->crlfText(), QStringLiteral("put goblingoblin"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->crlfText(), QStringLiteral("put goblin"));
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor->crlfText(), QStringLiteral("put goblingoblin"));
    }
    void statusBarFollowsTheCaret()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("a\r\nbcd\r\ne"));
        editor->setCaretPosition(1, 2);
        QCOMPARE(f.window->statusPanel(2).text(), QStringLiteral("Row: 2 Col: 3 Lines: 3"));
        // Text replaced as a whole, the caret left where it was.
        editor->setWholeText(QStringLiteral("x:\r\nputt"));
        QCOMPARE(f.window->statusPanel(2).text().right(8), QStringLiteral("Lines: 2"));
        f.docs().activeDocument()->live().refresh();
        auto *mistakes = f.window->findChild<QLabel *>(QStringLiteral("mistakesPanel"));
        QCOMPARE(mistakes->text(), QStringLiteral("1 mistake"));
        // Nothing of a closed script stays on show.
        f.dialogs.answers << Dialogs::Answer::No;
        f.window->runCommand(QStringLiteral("closeall"));
        QCOMPARE(f.window->statusPanel(2).text(), QString());
        QCOMPARE(mistakes->text(), QString());
        QCOMPARE(f.window->sidePane().labelsPage()->labelList()->model()->rowCount(), 0);
    }
    void ownedWindowsStayAboveAndCloseOnEscape_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::newRow("Script Debugger") << "sdebug"
                                         << "Script";
        QTest::newRow("options") << "options"
                                 << "frmOptions";
        QTest::newRow("hunting generator") << QString() << "frmHuntingSG";
    }
    // Each stands above the main window (transient for it), its keys are its own, and Escape closes
    // it.
    void ownedWindowsStayAboveAndCloseOnEscape()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        MainWindowFixture f;
        if (command.isEmpty())
            f.window->showHuntingGenerator();
        else
            f.window->runCommand(command);
        QPointer<QWidget> window = f.window->findChild<QWidget *>(name);
        QVERIFY(window && window->isVisible());
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowHandle()->transientParent(), f.window->windowHandle());
        QSet<QChar> mnemonics;
        auto keyOf = [&](const QString &text) {
            const qsizetype amp = text.indexOf(u'&');
            if (amp < 0 || amp + 1 >= text.size())
                return true;
            const QChar key = text[amp + 1].toLower();
            const bool fresh = !mnemonics.contains(key);
            mnemonics.insert(key);
            return fresh;
        };
        for (const QAbstractButton *control : window->findChildren<QAbstractButton *>())
            QVERIFY2(!control->isVisible() || keyOf(control->text()), qPrintable(control->text()));
        for (const QLabel *label : window->findChildren<QLabel *>())
            QVERIFY2(!label->buddy() || keyOf(label->text()), qPrintable(label->text()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(),
                        Qt::Key_Escape);
        QTRY_VERIFY(!window || !window->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
