#include "DocumentArea.h"
#include "FindReplaceDialog.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "MainWindowFixture.h"
#include "PendingCommands.h"
#include "QtDialogs.h"
#include "SearchCommands.h"

#include <Qsci/qscicommandset.h>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMenu>
#include <QTest>

using namespace Korveth;

// Menu keys reach their commands, and nothing the editor does gets in their way.
class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyEnabledItemHasACommandOrIsStillToCome()
    {
        MainWindowFixture f;
        QStringList silent;
        const auto &actions = f.window->menus().actions();
        for (auto it = actions.cbegin(); it != actions.cend(); ++it) {
            const QString &key = it.key();
            if (!it.value()->isEnabled() || it.value()->menu())
                continue;
            const bool served = f.window->commands().has(key);
            const bool pending = commandsStillToCome.contains(key);
            if (served == pending)
                silent << key + (served ? QStringLiteral(" (served, yet listed)") : QString());
        }
        QStringList routedFromToolbar;
        for (const QString &button : f.window->tBar().keys()) {
            const QString command = MainToolbar::commandFor(button);
            if (command.isEmpty()) {
                QCOMPARE(button, QStringLiteral("help")); // the Help button runs nothing
                continue;
            }
            routedFromToolbar << command;
            if (f.window->commands().has(command) == commandsStillToCome.contains(command))
                silent << button + QStringLiteral(" (toolbar)");
        }
        QVERIFY2(silent.isEmpty(), qPrintable(silent.join(u", ")));
        for (const QString &key : commandsStillToCome)
            QVERIFY2(actions.contains(key) || routedFromToolbar.contains(key),
                     qPrintable(key + QStringLiteral(" is no menu item or toolbar command")));
    }
    void menuShortcutsWinOverTheEditorsOwnKeys()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        QStringList clashes;
        for (const QAction *action : f.window->menus().actions()) {
            if (action->shortcut().isEmpty())
                continue;
            const int key = action->shortcut()[0].toCombined();
            for (const QsciCommand *command : editor->standardCommands()->commands()) {
                if (command->key() == key || command->alternateKey() == key)
                    clashes << action->objectName() + u'=' + command->description();
            }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(u", ")));
    }
    void findDialogNeverTouchesAClosedDocument()
    {
        MainWindowFixture f;
        f.docs().activeDocument()->editor()->setWholeText(QStringLiteral("put goblin"));
        f.docs().activeDocument()->document().setChanged(false);
        f.window->runCommand(QStringLiteral("find"));
        FindReplaceDialog &dialog = f.window->search().dialog();
        QVERIFY(dialog.isVisible());
        f.window->runCommand(QStringLiteral("close"));
        QCOMPARE(f.docs().count(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the window is gone
        dialog.find(true); // under the sanitizers, a read of the freed editor fails here
        QCOMPARE(dialog.status(), QStringLiteral("No script is open."));
        dialog.replaceEverything();
        QCOMPARE(dialog.status(), QStringLiteral("No script is open."));
        f.window->runCommand(QStringLiteral("findnext")); // no document: nothing happens
    }
    void findDialogFollowsTheActiveDocument()
    {
        MainWindowFixture f;
        DocumentWindow *first = f.docs().activeDocument();
        first->editor()->setWholeText(QStringLiteral("put goblin"));
        f.window->runCommand(QStringLiteral("find"));
        DocumentWindow *second = f.docs().NewDocument();
        second->editor()->setWholeText(QStringLiteral("goblin"));
        QCOMPARE(f.window->search().dialog().editor(), second->editor());
        f.window->area().activate(first);
        QCOMPARE(f.window->search().dialog().editor(), first->editor());
    }
    void allFilesFilterMatchesFilesWithoutADot()
    {
        const QList<Dialogs::FileFilter> filters{
            {QStringLiteral("Script Files (*.cmd)"), QStringLiteral("*.cmd")},
            {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
        };
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilter(QtDialogs::nameFilters(filters));
        auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QCOMPARE(types->itemText(0), QStringLiteral("Script Files (*.cmd)"));
        QCOMPARE(types->itemText(1), QStringLiteral("All Files (*.*)"));
        dialog.selectNameFilter(dialog.nameFilters().at(1));
        auto *model = dialog.findChild<QFileSystemModel *>();
        QVERIFY(model);
        QCOMPARE(model->nameFilters(), QStringList({QStringLiteral("*")}));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
