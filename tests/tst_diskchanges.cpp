#include "DiskChangeMonitor.h"
#include "DocumentArea.h"
#include "MainWindowFixture.h"

#include <QFileInfo>
#include <QTest>

using namespace Korveth;
using Answer = Dialogs::Answer;

namespace {

void appendFromAnotherProgram(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size())
        qFatal("cannot append");
}

} // namespace

// Another program changes or removes a file that is open here: nothing may be lost silently.
class TestDiskChanges : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changedFileIsOfferedForReload_data()
    {
        // clang-format off
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changed");

        QTest::newRow("unedited, reload") << false << int(Answer::Yes) << "put a\r\nput b" << false;
        QTest::newRow("unedited, keep") << false << int(Answer::No) << "put a" << false;
        QTest::newRow("edited, keep edits") << true << int(Answer::No) << "mine" << true;
        QTest::newRow("edited, reload and lose them") << true << int(Answer::Yes) << "put a\r\nput b" << false;
        // clang-format on
    }
    void changedFileIsOfferedForReload()
    {
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(QString, text);
        QFETCH(bool, changed);

        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        if (edited)
            document->editor()->setWholeText(QStringLiteral("mine"));
        appendFromAnotherProgram(path, "\r\nput b");

        f.dialogs.answers << Answer(answer);
        f.window->diskChanges().check(document);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Changed on Disk"}));
        QVERIFY(f.dialogs.shown.last().text.contains(path));
        QCOMPARE(f.dialogs.shown.last().text.contains(QStringLiteral("lose your changes")), edited);
        QCOMPARE(document->editor()->crlfText(), text);
        QCOMPARE(document->Changed(), changed);

        // Asked once: the same change is not brought up again.
        f.window->diskChanges().check(document);
        QCOMPARE(f.dialogs.shown.size(), 1);
    }
    void removedFileKeepsItsDocumentMarkedChanged()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        QVERIFY(QFile::remove(path));
        f.window->diskChanges().check(document);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Changed on Disk"}));
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Warning);
        QCOMPARE(f.docs().count(), 2);
        QVERIFY(document->Changed());
        QCOMPARE(document->editor()->crlfText(), QStringLiteral("put a"));

        // Save writes it back where it was, without asking.
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put a"));
        QVERIFY(!document->Changed());
    }
    void saveOntoChangedFileAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("keep theirs") << int(Answer::No) << QByteArray("put a\r\ntheirs");
        QTest::newRow("replace with mine") << int(Answer::Yes) << QByteArray("mine");
    }
    void saveOntoChangedFileAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, onDisk);

        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        appendFromAnotherProgram(path, "\r\ntheirs");
        document->editor()->setWholeText(QStringLiteral("mine"));

        f.dialogs.answers << Answer(answer);
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Save"}));
        QVERIFY(f.dialogs.shown.last().text.contains(QStringLiteral("changed by another program")));
        QCOMPARE(MainWindowFixture::read(path), onDisk);
        QCOMPARE(document->Changed(), answer == int(Answer::No));
    }
    void touchedFileWithSameBytesAsksNothing()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        file.close();
        f.window->diskChanges().check(document);
        document->editor()->setWholeText(QStringLiteral("put b"));
        f.window->runCommand(QStringLiteral("save"));
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(MainWindowFixture::read(path), QByteArray("put b"));
    }
    void ownSavesAreNoChange()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        for (const char *text : {"put b", "put longer text"}) {
            document->editor()->setWholeText(QString::fromLatin1(text));
            f.window->runCommand(QStringLiteral("save"));
            f.window->diskChanges().check(document);
        }
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(f.window->diskChanges().watchedFiles(),
                 QStringList({QFileInfo(path).absoluteFilePath()}));
    }
    void watcherNoticesAChangeToTheActiveDocument()
    {
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("hunt.cmd"), "put a");
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("hunt.cmd"));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.dialogs.answers << Answer::Yes;
        appendFromAnotherProgram(path, "\r\nput b");
        QTRY_COMPARE(document->editor()->crlfText(), QStringLiteral("put a\r\nput b"));
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Changed on Disk"}));
    }
};

QTEST_MAIN(TestDiskChanges)
#include "tst_diskchanges.moc"
