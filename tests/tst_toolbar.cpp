#include "DocumentArea.h"
#include "HelpMode.h"
#include "KeyStatePanels.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "MainWindowFixture.h"
#include "ScriptDebugger.h"
#include "ScriptDebuggerWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

using namespace Korveth;

// The toolbar, help mode, the tab strip, the window arrangements and the status bar.
class TestToolbar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every button says what it does in its tooltip, and shows a picture.
    void everyButtonHasATipAndAPicture()
    {
        MainWindowFixture f;
        MainToolbar &bar = f.window->tBar();
        for (const QString &key : bar.keys()) {
            QVERIFY2(!bar.button(key)->toolTip().isEmpty(), qPrintable(key));
            QVERIFY2(!bar.button(key)->icon().isNull(), qPrintable(key));
        }
    }
    void buttonsWorkAlsoInHelpMode()
    {
        MainWindowFixture f;
        MainToolbar &bar = f.window->tBar();
        bar.button(QStringLiteral("help"))->trigger(); // the Help button does nothing
        QVERIFY(!f.window->helpMode().isOn());
        bar.button(QStringLiteral("help2"))->trigger();
        QVERIFY(f.window->helpMode().isOn());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WhatsThisCursor);
        bar.button(QStringLiteral("new"))->trigger();
        QCOMPARE(f.docs().count(), 2);
        bar.button(QStringLiteral("TestScript"))->trigger();
        QVERIFY(f.window->debugger().window());
        f.dialogs.modalAnswers.enqueue([](QDialog &) { return false; });
        bar.button(QStringLiteral("prop"))->trigger();
        QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Editor Properties"));
        QVERIFY(f.window->helpMode().isOn()); // the toolbar's actions do not look at help mode
        QTest::mouseClick(f.window->statusBar(), Qt::LeftButton);
        QVERIFY(!QApplication::overrideCursor());
    }
    void saveButtonSavesTheActiveDocument()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("a.cmd"), "put a");
        DocumentWindow *opened = f.docs().OpenDocument(path, QStringLiteral("a.cmd"));
        opened->editor()->setWholeText(QStringLiteral("put b"));
        f.window->tb().setCurrentIndex(0); // the tab shown is another document's
        f.window->area().activate(opened);
        f.window->tBar().button(QStringLiteral("save"))->trigger();
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put b"));
    }
    void tabMenuActsOnTheRightClickedTab_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("close") << "close2";
        QTest::newRow("save") << "save2";
        QTest::newRow("save as") << "saveas2";
        QTest::newRow("print") << "print2";
    }
    void tabMenuActsOnTheRightClickedTab()
    {
        QFETCH(QString, key);
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("a.cmd"), "put a");
        DocumentWindow *first = f.docs().OpenDocument(path, QStringLiteral("a.cmd"));
        first->editor()->setWholeText(QStringLiteral("put b"));
        f.docs().NewDocument();
        DocumentTabs &tabs = f.window->tb();
        const QPoint at = tabs.tabRect(1).center();
        QContextMenuEvent right(QContextMenuEvent::Mouse, at, tabs.mapToGlobal(at));
        QCoreApplication::sendEvent(&tabs, &right);
        QMenu *menu = f.window->menus().tabMenu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(f.docs().activeDocument(), first);
        QStringList captions;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                captions << action->text();
        QCOMPARE(captions, QStringList({"&Close", "&Save", "Save &As", "&Print"}));
        menu->hide();

        if (key == u"close2")
            f.dialogs.answers << Dialogs::Answer::No;
        if (key == u"saveas2")
            f.dialogs.fileNames << f.dir.filePath(QStringLiteral("b.cmd"));
        f.window->menus().action(key)->trigger();
        if (key == u"close2")
            QCOMPARE(f.docs().count(), 2);
        else if (key == u"save2")
            QCOMPARE(MainWindowFixture::read(path), QByteArray("put b"));
        else if (key == u"saveas2")
            QCOMPARE(MainWindowFixture::read(f.dir.filePath(QStringLiteral("b.cmd"))),
                     QByteArray("put b"));
        else
            QCOMPARE(f.dialogs.shown.last().kind, QStringLiteral("print"));
    }
    void windowArrangementsAndList()
    {
        MainWindowFixture f;
        DocumentWindow *first = f.docs().activeDocument();
        f.docs().NewDocument();
        f.window->runCommand(QStringLiteral("tilehor"));
        const QList<QMdiSubWindow *> windows = f.window->mdiArea().subWindowList();
        QVERIFY(!windows[0]->isMaximized());
        QCOMPARE(windows[0]->width(), windows[1]->width());
        QVERIFY(windows[1]->y() >= windows[0]->geometry().bottom());
        f.window->runCommand(QStringLiteral("tilever"));
        QVERIFY(windows[1]->x() >= windows[0]->geometry().right());
        f.window->runCommand(QStringLiteral("cascade"));
        QVERIFY(windows[1]->y() > windows[0]->y());

        QMenu *list = f.window->menus().menu(QStringLiteral("wnlist"));
        Q_EMIT list->aboutToShow();
        QCOMPARE(list->actions().size(), 2);
        QVERIFY(list->actions()[1]->isChecked());
        list->actions()[0]->trigger();
        QCOMPARE(f.docs().activeDocument(), first);
    }
    void clickIntoATiledDocumentSelectsItsTab()
    {
        MainWindowFixture f;
        DocumentWindow *first = f.docs().activeDocument();
        f.docs().NewDocument();
        f.window->runCommand(QStringLiteral("tilever"));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::mouseClick(first->editor()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
        QTRY_COMPARE(f.window->tb().tagAt(f.window->tb().currentIndex()), 1);
        QCOMPARE(f.docs().activeDocument(), first);
    }
    void keyStatePanels()
    {
        MainWindowFixture f;
        QLabel &caps = f.window->statusPanel(3);
        QLabel &ins = f.window->statusPanel(4);
        QCOMPARE(caps.text(), QStringLiteral("CAPS"));
        QCOMPARE(ins.text(), QStringLiteral("INS"));
        QVERIFY(!ins.isEnabled());
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        editor->setFocus();
        // Each press counts, the second as much as the first.
        for (bool on : {true, false, true}) {
            QTest::keyClick(editor, Qt::Key_Insert);
            QTRY_COMPARE(ins.isEnabled(), on);
            QCOMPARE(editor->overwriteMode(), on);
        }
        f.docs().NewDocument(); // its editor inserts
        QVERIFY(!ins.isEnabled());

        QVERIFY(!caps.isEnabled());
        for (bool on : {true, false, true}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_CapsLock);
            QCOMPARE(caps.isEnabled(), on);
        }
        // A lower-case letter typed without Shift shows Caps Lock is off after all.
        QKeyEvent lower(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(f.docs().activeDocument()->editor(), &lower);
        QVERIFY(!caps.isEnabled());
        QKeyEvent upper(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("B"));
        QCoreApplication::sendEvent(f.docs().activeDocument()->editor(), &upper);
        QVERIFY(caps.isEnabled());
        QKeyEvent shifted(QEvent::KeyPress, Qt::Key_C, Qt::ShiftModifier, QStringLiteral("c"));
        QCoreApplication::sendEvent(f.docs().activeDocument()->editor(), &shifted);
        QVERIFY(caps.isEnabled()); // Shift with Caps Lock on types lower case
    }
};

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
