#include "AboutBox.h"
#include "Child.h"
#include "FileBrowser.h"
#include "HelpCommands.h"
#include "HelpMode.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "MainWindowFixture.h"
#include "PathLabel.h"
#include "QuickNav.h"
#include "ScriptFiles.h"
#include "SidePane.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

using namespace Korveth;

// The side pane (Quick Nav and the file browser), the help commands and the about box.
class TestSidePane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quickNavEntries_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("blank lines skipped") << "put\r\n\r\n   \r\n\t\r\nexit\r\n"
                                             << QStringList{"put", "exit"};
        QTest::newRow("blanks inside and around kept")
            << "  put  \r\nmatch a b" << QStringList{"  put  ", "match a b"};
        QTest::newRow("any line end") << "a\nb\rc" << QStringList{"a", "b", "c"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void quickNavEntries()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QCOMPARE(parseQuickNavEntries(text), entries);
    }
    void quickNavFillsFromItsFile()
    {
        MainWindowFixture f; // no Temp/tags.dat in its folder: an empty list, a normal start
        QuickNav &tree = *f.window->sidePane().quickNav();
        QVERIFY(tree.entries().isEmpty());
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Temp")));
        tree.fill(f.write(QStringLiteral("Temp/tags.dat"), "put \r\n\r\nmatchwait\r\n"));
        QCOMPARE(tree.entries(), QStringList({"put ", "matchwait"}));
        QCOMPARE(tree.objectName(), QStringLiteral("tagsd"));

        // The shipped list has an entry for every command word of the language.
        QuickNav shipped;
        shipped.fill(QStringLiteral(KORVETH_SOURCE_DIR "/data/Temp/tags.dat"));
        const QString all = shipped.entries().join(u'\n');
        for (const char *word : {"put",
                                 "pause",
                                 "wait",
                                 "waitfor",
                                 "match",
                                 "matchwait",
                                 "move",
                                 "goto",
                                 "echo",
                                 "exit",
                                 "save",
                                 "shift",
                                 "counter",
                                 "if_1"})
            QVERIFY2(all.contains(QLatin1StringView(word)), word);
    }
    void quickNavInsertsAtTheCaret_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<QString>("text");
        QTest::newRow("at the caret") << false << "put a\r\nmatch  b";
        QTest::newRow("over the selection") << true << "put a\r\nmatch  ";
    }
    void quickNavInsertsAtTheCaret()
    {
        QFETCH(bool, selection);
        QFETCH(QString, text);
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("put a\r\nb"));
        if (selection)
            editor->setSelection(1, 0, 1, 1);
        else
            editor->setCaretPosition(1, 0);
        QuickNav &tree = *f.window->sidePane().quickNav();
        new QTreeWidgetItem(&tree, {QStringLiteral("match  ")});
        // From the keyboard: Ctrl+2 goes to the list, Enter or Space types the entry.
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.window->runCommand(QStringLiteral("commandspage"));
        QCOMPARE(QApplication::focusWidget(), &tree);
        QTest::keyClick(&tree, selection ? Qt::Key_Space : Qt::Key_Return);
        QCOMPARE(editor->crlfText(), text);
        // The caret stands right after the inserted text, where typing goes on.
        QCOMPARE(editor->selectionRange(false), (ScriptEditor::Range{1, 7, 1, 7}));

        f.docs().activeDocument()->document().setChanged(false);
        f.window->runCommand(QStringLiteral("close"));
        Q_EMIT tree.itemActivated(tree.topLevelItem(tree.topLevelItemCount() - 1),
                                  0); // no document
        QCOMPARE(f.docs().count(), 0);
    }
    void scriptFileRule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("script");
        for (const char *yes : {"a.cmd", "b.WIZ", "c.CMD", "d.wiz", "x.y.cmd"})
            QTest::newRow(yes) << yes << true;
        for (const char *no : {"c.Cmd", "d.txt", "e", "cmd", "a.cmd.bak", "a."})
            QTest::newRow(no) << no << false;
    }
    void scriptFileRule()
    {
        QFETCH(QString, name);
        QFETCH(bool, script);
        QCOMPARE(isScriptFileName(name), script);
    }
    void fileBrowserListsScriptsAndOpensThem()
    {
        MainWindowFixture f;
        for (const char *name : {"a.cmd", "b.WIZ", "c.Cmd", "d.txt", "e", "x.y.cmd"})
            f.write(QString::fromLatin1(name), "exit");
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("sub")));
        FileBrowser &files = *f.window->sidePane().fileBrowser();
        QVERIFY(files.setFolder(f.dir.path()));
        QStringList listed;
        for (int i = 0; i < files.files()->count(); ++i)
            listed << files.files()->item(i)->text();
        QCOMPARE(listed, QStringList({"a.cmd", "b.WIZ", "x.y.cmd"}));
        QVERIFY(!files.files()->item(0)->icon().isNull());
        QCOMPARE(files.folders()->item(0)->text(), QStringLiteral(".."));
        QCOMPARE(files.folders()->item(1)->text(), QStringLiteral("sub"));

        QCOMPARE(files.folderShown()->path(), QDir(f.dir.path()).absolutePath()); // where one is

        QVERIFY(!files.setFolder(f.dir.filePath(QStringLiteral("gone")))); // lists stay
        QCOMPARE(files.files()->count(), 3);
        QCOMPARE(files.folder(), QDir(f.dir.path()).absolutePath());
        QCOMPARE(files.folderShown()->path(), files.folder());
        QVERIFY(f.dialogs.shown.isEmpty());

        Q_EMIT files.files()->itemActivated(files.files()->item(1));
        QCOMPARE(f.docs().count(), 2);
        QCOMPARE(f.window->tb().captions().last(), QStringLiteral("b.WIZ"));
        QCOMPARE(f.docs().activeDocument()->windowTitle(), f.dir.filePath(QStringLiteral("b.WIZ")));
    }
    void paneSizeAndToggles()
    {
        MainWindowFixture f;
        SidePane &pane = f.window->sidePane();
        QCOMPARE(child<QLabel>(pane, "lblTitle").text(), QStringLiteral(" Quick Nav"));
        QCOMPARE(pane.width(), twipsToPixelsX(pane, 2625));
        QCOMPARE(pane.minimumWidth(), twipsToPixelsX(pane, 2000));
        f.window->splitter().setSizes({10, 2000});
        QCOMPARE(pane.width(), twipsToPixelsX(pane, 2000)); // never narrower
        f.window->resize(1000, 720);
        f.window->splitter().setSizes({700, 300});
        QCOMPARE(pane.width(), 700); // no upper bound beyond the window
        pane.pages()->setCurrentIndex(1);

        QAction *quickNav = f.window->menus().action(QStringLiteral("quicknav"));
        child<QToolButton>(pane, "cmdX").click();
        QVERIFY(!pane.isVisible());
        QVERIFY(!quickNav->isChecked());
        quickNav->trigger();
        QVERIFY(pane.isVisible());
        QCOMPARE(pane.width(), 700);
        QCOMPARE(pane.pages()->currentIndex(), 1);
        quickNav->trigger();
        QVERIFY(!pane.isVisible());
    }
};

QTEST_MAIN(TestSidePane)
#include "tst_sidepane.moc"
