#include "MainWindowFixture.h"

#include <QDir>
#include <QMdiArea>
#include <QTest>

#include "DocumentArea.h"

using namespace Korveth;
using Answer = Dialogs::Answer;

class TestDocumentManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbering()
    {
        MainWindowFixture f;
        QCOMPARE(f.docs().activeDocument()->windowTitle(), QStringLiteral("New Script 1"));
        const QString a = f.write(QStringLiteral("a.cmd"), "put a");
        const QString b = f.write(QStringLiteral("b.cmd"), "put b");
        QVERIFY(f.docs().OpenDocument(a, QStringLiteral("a.cmd")));
        QVERIFY(f.docs().OpenDocument(b, QStringLiteral("b.cmd")));
        DocumentWindow *fourth = f.docs().NewDocument();
        QCOMPARE(fourth->windowTitle(), QStringLiteral("New Script 4"));
        QCOMPARE(fourth->tabNumber(), 4);
        QCOMPARE(f.docs().count(), 4);
        QCOMPARE(f.window->tb().captions(),
                 QStringList({"New Script 1", "a.cmd", "b.cmd", "New Script 4"}));
        QCOMPARE(f.window->tb().tagAt(f.window->tb().currentIndex()), 4);
        QCOMPARE(f.docs().document(2)->windowTitle(), a);
    }
    void limitOfTwenty()
    {
        MainWindowFixture f;
        for (int i = 1; i < 20; ++i)
            QVERIFY(f.docs().NewDocument());
        QCOMPARE(f.docs().count(), 20);
        QCOMPARE(f.docs().table().lastNumber(), 20);

        const QString path = f.write(QStringLiteral("x.cmd"), "exit");
        QVERIFY(!f.docs().NewDocument());
        QVERIFY(!f.docs().OpenDocument(path, QStringLiteral("x.cmd")));
        QCOMPARE(f.docs().count(), 20);
        QCOMPARE(f.docs().table().lastNumber(), 20);
        QCOMPARE(f.window->tb().count(), 20);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Document Count", "Document Count"}));
        QCOMPARE(f.dialogs.shown.last().text,
                 QStringLiteral("You already have the maximum number of documents open."));
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Information);

        // A closed entry is free again and the next number is 21.
        f.window->runCommand(QStringLiteral("close"));
        QCOMPARE(f.docs().count(), 19);
        QCOMPARE(f.docs().NewDocument()->windowTitle(), QStringLiteral("New Script 21"));
    }
    void closingQuestion_data()
    {
        // clang-format off
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("savePath"); // "cancel" cancels the Save As dialog
        QTest::addColumn<bool>("closed");

        QTest::newRow("Cancel keeps it") << int(Answer::Cancel) << "" << false;
        QTest::newRow("No closes unsaved") << int(Answer::No) << "" << true;
        QTest::newRow("Yes saves and closes") << int(Answer::Yes) << "saved.cmd" << true;
        QTest::newRow("Yes then cancelled Save As keeps it") << int(Answer::Yes) << "cancel" << false;
        // clang-format on
    }
    void closingQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, savePath);
        QFETCH(bool, closed);

        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        document->editor()->setWholeText(QStringLiteral("put changed"));
        QVERIFY(document->Changed());
        f.dialogs.answers.enqueue(Answer(answer));
        if (savePath == u"cancel")
            f.dialogs.fileNames.enqueue(QString());
        else if (!savePath.isEmpty())
            f.dialogs.fileNames.enqueue(f.dir.filePath(savePath));

        f.window->runCommand(QStringLiteral("close"));
        QCOMPARE(f.dialogs.shown.first().title, QStringLiteral("Save"));
        QCOMPARE(f.dialogs.shown.first().text,
                 QStringLiteral("You have made changes to this Script. Do you wish to save?"));
        QCOMPARE(f.dialogs.shown.first().buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(f.dialogs.shown.first().icon, Dialogs::Icon::Question);
        QCOMPARE(f.docs().count(), closed ? 0 : 1);
        QCOMPARE(f.window->tb().count(), closed ? 0 : 1);
        QCOMPARE(f.window->mdiArea().subWindowList().size(), closed ? 0 : 1);
        if (savePath == u"saved.cmd")
            QCOMPARE(MainWindowFixture::read(f.dir.filePath(savePath)), QByteArray("put changed"));
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }
    void closingWithoutChangesAsksNothing()
    {
        MainWindowFixture f;
        f.window->runCommand(QStringLiteral("close"));
        QCOMPARE(f.docs().count(), 0);
        QVERIFY(f.dialogs.shown.isEmpty());
    }
    void saveOnNeverSavedAsksForName()
    {
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        document->editor()->setWholeText(QStringLiteral("exit"));
        f.dialogs.fileNames.enqueue(QString());
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(f.dialogs.shown.last().kind, QStringLiteral("save"));
        QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Save Script... New Script 1"));
        QCOMPARE(f.dialogs.lastFilters.size(), 2);
        QCOMPARE(f.dialogs.lastFilters[0].description, QStringLiteral("Script Files (*.cmd)"));
        QCOMPARE(document->windowTitle(), QStringLiteral("New Script 1"));
        QVERIFY(document->Changed());
    }
    void overwriteLoop()
    {
        MainWindowFixture f;
        const QString existing = f.write(QStringLiteral("old.cmd"), "keep me");
        DocumentWindow *document = f.docs().activeDocument();
        document->editor()->setWholeText(QStringLiteral("new text"));

        // No to the overwrite question shows the dialog again; cancelling that saves nothing.
        f.dialogs.fileNames << existing << QString();
        f.dialogs.answers << Answer::No;
        QVERIFY(!f.docs().SaveDocumentAs(document->entry()));
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Overwrite"}));
        QCOMPARE(f.dialogs.shown[1].text,
                 existing + QStringLiteral(" Already exists.\nDo you want to replace it?"));
        QCOMPARE(f.dialogs.shown[1].buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(MainWindowFixture::read(existing), QByteArray("keep me"));

        f.dialogs.fileNames << existing;
        f.dialogs.answers << Answer::Yes;
        QVERIFY(f.docs().SaveDocumentAs(document->entry()));
        QCOMPARE(MainWindowFixture::read(existing), QByteArray("new text"));
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }
    void saveAsKeepsTabCaption()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a\n");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        document->editor()->setWholeText(QStringLiteral("put b\r\n"));
        const QString other = f.dir.filePath(QStringLiteral("other.wiz"));
        f.dialogs.fileNames << other;
        QVERIFY(f.docs().SaveDocumentAs(document->entry()));
        QCOMPARE(document->windowTitle(), other);
        QCOMPARE(f.window->tb().captions().last(), QStringLiteral("hunt.cmd"));
        QVERIFY(!document->Changed());
        QCOMPARE(document->editor()->language(), QStringLiteral("Perl"));
        QCOMPARE(MainWindowFixture::read(other),
                 QByteArray("put b\n")); // the file's line ends kept

        // Save now writes to the new path without asking.
        document->editor()->setWholeText(QStringLiteral("put c"));
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(other), QByteArray("put c"));
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put a\n"));
    }
    void saveAsAsksBeforeReplacingAnythingThere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("readable file") << "file";
        QTest::newRow("link to nowhere") << "dangling link";
        QTest::newRow("file nobody may read") << "unreadable file";
    }
    void saveAsAsksBeforeReplacingAnythingThere()
    {
        QFETCH(QString, kind);
        MainWindowFixture f;
        const QString path = f.dir.filePath(QStringLiteral("target.cmd"));
        if (kind == u"dangling link") {
            QVERIFY(QFile::link(f.dir.filePath(QStringLiteral("nowhere.cmd")), path));
        } else {
            f.write(QStringLiteral("target.cmd"), "theirs");
            if (kind == u"unreadable file") {
                QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
                if (QFile(path).open(QIODevice::ReadOnly))
                    QSKIP("file modes do not stop this user from reading");
            }
        }
        f.docs().activeDocument()->editor()->setWholeText(QStringLiteral("mine"));
        f.dialogs.fileNames << path;
        f.dialogs.answers << Answer::No;
        f.dialogs.fileNames << QString();
        f.window->runCommand(QStringLiteral("saveas"));
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Overwrite"}));
        QVERIFY(f.docs().activeDocument()->Changed());
    }
    void sameFileOpensOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("opened again") << "open";
        QTest::newRow("through a link") << "link";
        QTest::newRow("dropped") << "drop";
        QTest::newRow("by another spelling of its path") << "dotted";
    }
    void sameFileOpensOnce()
    {
        QFETCH(QString, how);
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *first = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        f.docs().NewDocument();
        DocumentWindow *again = nullptr;
        if (how == u"open") {
            again = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        } else if (how == u"link") {
            const QString link = f.dir.filePath(QStringLiteral("link.cmd"));
            QVERIFY(QFile::link(path, link));
            again = f.docs().OpenDocument(link, QStringLiteral("link.cmd"));
        } else if (how == u"drop") {
            f.window->openDroppedFiles({QUrl::fromLocalFile(path)});
            again = f.docs().activeDocument();
        } else {
            again = f.docs().OpenDocument(f.dir.path() + QStringLiteral("/./hunt.cmd"),
                                          QStringLiteral("hunt.cmd"));
        }
        QCOMPARE(again, first);
        QCOMPARE(f.docs().activeDocument(), first);
        QCOMPARE(f.docs().count(), 3);
        QCOMPARE(f.window->tb().count(), 3);
        QVERIFY(f.dialogs.shown.isEmpty());
    }
    void failedSaveKeepsDocumentChanged()
    {
        MainWindowFixture f;
        // A path below a regular file cannot be written, not even by root.
        const QString blocker = f.write(QStringLiteral("blocker"), "x");
        const QString path = blocker + QStringLiteral("/x.cmd");
        DocumentWindow *document = f.docs().activeDocument();
        document->editor()->setWholeText(QStringLiteral("precious"));
        f.dialogs.fileNames << path;
        QVERIFY(!f.docs().SaveDocumentAs(document->entry()));
        QCOMPARE(document->windowTitle(), QStringLiteral("New Script 1"));
        QVERIFY(document->Changed());
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Save"}));
        QVERIFY(f.dialogs.shown.last().text.contains(path));
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Warning);

        // Closing: Yes, and the save fails again: the window stays with its edits.
        f.dialogs.answers << Answer::Yes;
        f.dialogs.fileNames << path;
        f.window->runCommand(QStringLiteral("close"));
        QCOMPARE(f.docs().count(), 1);
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("precious"));
    }
    void failedSaveLeavesOldFileIntact()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put old\r\n");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        document->editor()->setWholeText(QStringLiteral("put new"));
        f.files.atomic = FailingFileStore::Atomic::Fails;
        f.window->runCommand(QStringLiteral("save"));
        f.files.atomic = FailingFileStore::Atomic::Works;
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put old\r\n"));
        QVERIFY(document->Changed());
        QCOMPARE(document->windowTitle(), path);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Save"}));
        QVERIFY(f.dialogs.shown.last().text.startsWith(QStringLiteral("Could not save \"") + path));

        // Once the file can be written again, Save works.
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put new"));
        QVERIFY(!document->Changed());
    }
    void openFailureLeavesNothingBehind_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "missing.cmd";
        QTest::newRow("folder") << ".";
        // clang-format on
    }
    void openFailureLeavesNothingBehind()
    {
        QFETCH(QString, name);
        MainWindowFixture f;
        const QString path = QDir(f.dir.path()).filePath(name);
        QVERIFY(!f.docs().OpenDocument(path, name));
        QCOMPARE(f.docs().count(), 1);
        QCOMPARE(f.docs().table().lastNumber(), 1);
        QCOMPARE(f.window->tb().count(), 1);
        QCOMPARE(f.window->mdiArea().subWindowList().size(), 1);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Open Script"}));
        QVERIFY(f.dialogs.shown.last().text.contains(path));
    }
    void openCommand()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("my hunt.cmd"), "exit");

        f.dialogs.fileNames << QString();
        f.window->runCommand(QStringLiteral("open"));
        QCOMPARE(f.docs().count(), 1);

        f.dialogs.fileNames << path;
        f.window->runCommand(QStringLiteral("open"));
        QCOMPARE(f.docs().count(), 2);
        QCOMPARE(f.window->recentFiles().read(), QStringList({path}));
        QCOMPARE(MainWindowFixture::read(f.dir.filePath(QStringLiteral("recent.dat"))),
                 path.toUtf8() + "\r\n");
        QCOMPARE(f.dialogs.shown.first().title, QStringLiteral("Open a Script..."));
        QCOMPARE(f.dialogs.lastFilters.size(), 3);
        QCOMPARE(f.dialogs.lastFilters[2].description, QStringLiteral("All Files (*.*)"));
        QCOMPARE(f.window->tb().captions().last(), QStringLiteral("my hunt.cmd"));
        QCOMPARE(f.docs().activeDocument()->windowTitle(), path);
        QCOMPARE(f.docs().activeDocument()->editor()->language(), QStringLiteral("Perl"));
    }
    void templateDocumentNeverOverwritesTemplate()
    {
        MainWindowFixture f;
        const QString templ = f.write(QStringLiteral("huntgen.dat"), "put %1");
        DocumentWindow *document = f.docs().OpenDocument(
            templ, QStringLiteral("Hunting Script"), DocumentManager::Origin::Template);
        QVERIFY(document->document().neverSaved());
        document->editor()->setWholeText(QStringLiteral("put goblin"));
        const QString target = f.dir.filePath(QStringLiteral("goblin.cmd"));
        f.dialogs.fileNames << target;
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(templ), QByteArray("put %1"));
        QCOMPARE(MainWindowFixture::read(target), QByteArray("put goblin"));
        QVERIFY(!document->document().neverSaved());
    }
    void saveAllVisitsEveryDocument()
    {
        MainWindowFixture f;
        const QString a = f.write(QStringLiteral("a.cmd"), "a");
        DocumentWindow *opened = f.docs().OpenDocument(a, QStringLiteral("a.cmd"));
        opened->editor()->setWholeText(QStringLiteral("a2"));
        DocumentWindow *first = f.docs().document(1);
        first->editor()->setWholeText(QStringLiteral("new"));
        f.window->area().activate(opened);

        f.dialogs.fileNames << f.dir.filePath(QStringLiteral("n.cmd"));
        f.window->runCommand(QStringLiteral("saveall"));
        QCOMPARE(MainWindowFixture::read(a), QByteArray("a2"));
        QCOMPARE(MainWindowFixture::read(f.dir.filePath(QStringLiteral("n.cmd"))),
                 QByteArray("new"));
        QCOMPARE(f.docs().activeDocument(), opened);
    }
    void closeAllKeepsCancelledOnes()
    {
        MainWindowFixture f;
        f.docs().NewDocument()->editor()->setWholeText(QStringLiteral("changed"));
        f.docs().NewDocument();
        f.dialogs.answers << Answer::Cancel;
        f.window->runCommand(QStringLiteral("closeall"));
        QCOMPARE(f.docs().count(), 1);
        QCOMPARE(f.docs().openDocuments().first()->windowTitle(), QStringLiteral("New Script 2"));
    }
};

QTEST_MAIN(TestDocumentManager)
#include "tst_documentmanager.moc"
