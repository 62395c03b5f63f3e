#include "Child.h"
#include "HealingGeneratorDialog.h"
#include "HuntingGeneratorWindow.h"
#include "MainToolbar.h"
#include "MainWindowFixture.h"
#include "PathLabel.h"
#include "ScriptFiles.h"
#include "StartPage.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

using namespace Korveth;

// The start page: a blank script, the generators, and loading existing and recent scripts into
// the active document.
class TestStartPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newScriptNeverReplacesTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("untouched blank script") << QString();
        QTest::newRow("typed text") << QStringLiteral("mine");
    }
    void newScriptNeverReplacesTypedText()
    {
        QFETCH(QString, typed);
        const QString skeleton = QStringLiteral("#ScriptName\r\n\r\n\r\nExit");
        MainWindowFixture f;
        DocumentWindow *first = f.docs().activeDocument();
        if (!typed.isEmpty())
            first->editor()->setWholeText(typed);
        withStartPage(f, [&](StartPage &page) {
            child<QToolButton>(page, "cmdBlank").click();
            return page.result() == QDialog::Accepted;
        });
        DocumentWindow *active = f.docs().activeDocument();
        QCOMPARE(active->editor()->crlfText(), skeleton);
        QCOMPARE(active == first, typed.isEmpty());
        QCOMPARE(first->editor()->crlfText(), typed.isEmpty() ? skeleton : typed);
    }
    void existingFileLoadsIntoTheBlankDocument()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a\r\n");
        DocumentWindow *document = f.docs().activeDocument();
        QString named;
        for (int time = 0; time < 2; ++time) {
            withStartPage(f, [&](StartPage &page) {
                page.setFolder(f.dir.path());
                Q_EMIT child<QListWidget>(page, "filFileName")
                    .itemClicked(child<QListWidget>(page, "filFileName").item(0));
                named = child<QLineEdit>(page, "txtFileName").text();
                page.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
                return true;
            });
            QCOMPARE(named, path);
        }
        QCOMPARE(f.docs().activeDocument(), document); // opened once, into the blank script
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("put a\r\n"));
        QCOMPARE(f.window->tb().captions(), QStringList({"hunt.cmd"}));
        QCOMPARE(document->windowTitle(), path); // Save writes back to the file it came from
        QCOMPARE(f.window->recentFiles().read(), QStringList({path, path}));
        document->editor()->undo(); // loading is no edit: nothing to undo back to
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("put a\r\n"));

        // Both lines stand on the Recent tab.
        int listed = 0;
        withStartPage(f, [&](StartPage &page) {
            listed = child<QTreeWidget>(page, "RecentFiles").topLevelItemCount();
            return false;
        });
        QCOMPARE(listed, 2);
    }
    void loadOverAnEditedScriptLosesNothing_data()
    {
        QTest::addColumn<bool>("fromRecent");
        QTest::newRow("Existing tab") << false;
        QTest::newRow("Recent tab") << true;
    }
    // The edited script keeps its text and its file; the loaded one comes in a document of its own,
    // whose undo and save cannot bring the first script's text under its name.
    void loadOverAnEditedScriptLosesNothing()
    {
        QFETCH(bool, fromRecent);
        MainWindowFixture f;
        const QString first = f.write(QStringLiteral("first.cmd"), "put first");
        const QString second = f.write(QStringLiteral("second.cmd"), "put second");
        f.window->recentFiles().append(second);
        DocumentWindow *edited = f.docs().OpenDocument(first, first);
        edited->editor()->setWholeText(QStringLiteral("typed, not saved"));
        withStartPage(f, [&](StartPage &page) {
            if (fromRecent) {
                child<QTreeWidget>(page, "RecentFiles")
                    .setCurrentItem(child<QTreeWidget>(page, "RecentFiles").topLevelItem(0));
                page.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
            } else {
                child<QLineEdit>(page, "txtFileName").setText(second);
                page.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
            }
            return true;
        });
        DocumentWindow *loaded = f.docs().activeDocument();
        QVERIFY(loaded != edited);
        QCOMPARE(edited->editor()->crlfText(), QStringLiteral("typed, not saved"));
        QCOMPARE(edited->windowTitle(), first);
        QVERIFY(edited->Changed());
        loaded->editor()->undo();
        QCOMPARE(loaded->editor()->crlfText(), QStringLiteral("put second"));
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(first), QByteArray("put first"));
        QCOMPARE(MainWindowFixture::read(second), QByteArray("put second"));
        // A recent script loads under its full path and is not listed again.
        QCOMPARE(f.window->tb().captions().last(), fromRecent ? second : u"second.cmd"_qs);
        QCOMPARE(f.window->recentFiles().read().size(), fromRecent ? 1 : 2);
    }
    // Open on the Recent tab with no entry chosen loads nothing, even where the list has a
    // current entry (as it has once the keyboard reaches it), and the page still closes.
    void recentOpenWithNothingChosenLoadsNothing()
    {
        MainWindowFixture f;
        f.window->recentFiles().append(f.write(QStringLiteral("second.cmd"), "put second"));
        withStartPage(f, [&](StartPage &page) {
            auto &list = child<QTreeWidget>(page, "RecentFiles");
            list.setCurrentItem(list.topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
            page.findChild<QPushButton *>(QStringLiteral("Command3"))->click();
            return true;
        });
        QCOMPARE(f.window->tb().captions(), QStringList({"New Script 1"}));
    }
    void unreadableFileChangesNothing()
    {
        MainWindowFixture f;
        const QString missing = f.dir.filePath(QStringLiteral("gone.cmd"));
        f.docs().activeDocument()->editor()->setWholeText(QStringLiteral("kept"));
        withStartPage(f, [&](StartPage &page) {
            child<QLineEdit>(page, "txtFileName").setText(missing);
            page.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
            return true;
        });
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Open Script"}));
        QVERIFY(f.dialogs.shown.last().text.contains(missing));
        QCOMPARE(f.window->tb().captions(), QStringList({"New Script 1"}));
        QVERIFY(f.window->recentFiles().read().isEmpty());
        QCOMPARE(f.docs().activeDocument()->editor()->crlfText(), QStringLiteral("kept"));
    }
    void onlyScriptFilesAreListed()
    {
        MainWindowFixture f;
        for (const char *name : {"a.cmd", "b.wiz", "c.txt", "D.CMD", "e.cmd.bak"})
            f.write(QString::fromLatin1(name), "x");
        QStringList names;
        QString folderAfterwards;
        withStartPage(f, [&](StartPage &page) {
            page.setFolder(f.dir.path());
            for (int i = 0; i < child<QListWidget>(page, "filFileName").count(); ++i)
                names << child<QListWidget>(page, "filFileName").item(i)->text();
            page.setFolder(f.dir.filePath(QStringLiteral("no such folder")));
            folderAfterwards = child<PathLabel>(page, "folderShown").path();
            return false;
        });
        QCOMPARE(names, QStringList({"a.cmd", "D.CMD"}));
        QCOMPARE(folderAfterwards, QDir(f.dir.path()).absolutePath()); // left as it was
    }
    void oneSeparatorBetweenFolderAndName()
    {
        QCOMPARE(joinFolderAndName(QStringLiteral("/"), QStringLiteral("a.cmd")), u"/a.cmd");
        QCOMPARE(joinFolderAndName(QStringLiteral("/home/kalen"), QStringLiteral("a.cmd")),
                 u"/home/kalen/a.cmd");
    }
    void generatorButtonsShowTheirGenerators()
    {
        MainWindowFixture f;
        QStringList enabled;
        // The start page closes first; then the healing generator shows.
        f.dialogs.modalAnswers.enqueue([](QDialog &dialog) {
            auto &page = static_cast<StartPage &>(dialog);
            child<QToolButton>(page, "cmdSecurity").click();
            return true;
        });
        f.dialogs.modalAnswers.enqueue([](QDialog &dialog) {
            return qobject_cast<HealingGeneratorDialog *>(&dialog) != nullptr;
        });
        f.window->showStartPage(StartPage::Generators);
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Healing Script Generator"));

        withStartPage(f, [&](StartPage &page) {
            for (const QToolButton *b : page.findChildren<QToolButton *>()) {
                if (b->isEnabled() && b->objectName().startsWith(u"cmd"))
                    enabled << b->objectName();
            }
            child<QToolButton>(page, "cmdGlossary").click();
            return true;
        });
        enabled.sort();
        QCOMPARE(enabled, QStringList({"cmdBlank", "cmdGlossary", "cmdSecurity"}));
        auto *hunting = f.window->findChild<HuntingGeneratorWindow *>();
        QVERIFY(hunting && hunting->isVisible());
        hunting->close();
    }

private:
    // Shows the start page through the dialogs stand-in and lets the test act on it.
    static void withStartPage(MainWindowFixture &f, std::function<bool(StartPage &)> act)
    {
        f.dialogs.modalAnswers.enqueue([act](QDialog &dialog) {
            auto *page = qobject_cast<StartPage *>(&dialog);
            return page && page->windowTitle() == u"Start Up" && act(*page);
        });
        f.window->showStartPage(StartPage::Generators);
    }
};

QTEST_MAIN(TestStartPage)
#include "tst_startpage.moc"
