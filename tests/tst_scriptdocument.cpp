#include "FailingFileStore.h"
#include "RecordingSink.h"
#include "ScriptDocument.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;
using Origin = ScriptDocument::Origin;

// The document model on its own: no window, no editor.
class TestScriptDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newScriptIsNamedAndNeverSaved()
    {
        ScriptDocument document(m_store);
        QSignalSpy captions(&document, &ScriptDocument::captionChanged);
        document.startNew(7);
        QCOMPARE(document.caption(), QStringLiteral("New Script 7"));
        QCOMPARE(document.path(), QString());
        QVERIFY(document.neverSaved());
        QVERIFY(!document.Changed());
        QCOMPARE(captions.size(), 1);
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Unchanged);
    }
    // The document reads and decodes its own file, handing the text on as it is read; a file it
    // cannot read leaves it as it was.
    void aDocumentLoadsItsFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.cmd"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("put caf\xe9\n") > 0);
        file.close();
        ScriptDocument document(m_store);
        document.startNew(1);
        RecordingSink shown;
        QVERIFY(!document.load(path + u".gone"_qs, ScriptDocument::Origin::File, shown)
                     .error.isEmpty());
        QCOMPARE(document.caption(), QStringLiteral("New Script 1"));
        QVERIFY(document.load(path, ScriptDocument::Origin::File, shown).error.isEmpty());
        QCOMPARE(shown.text, QByteArray("put caf\xc3\xa9\n"));
        QCOMPARE(document.path(), path);
        QCOMPARE(document.format().encoding, TextEncoding::Windows1252);
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Unchanged);
    }
    void savingTiesTheDocumentToItsFile_data()
    {
        QTest::addColumn<int>("origin");
        QTest::newRow("opened file") << int(Origin::File);
        QTest::newRow("template") << int(Origin::Template);
    }
    void savingTiesTheDocumentToItsFile()
    {
        QFETCH(int, origin);
        const QString source = write(QStringLiteral("source.cmd"), "put a\n");
        ScriptDocument document(m_store);
        document.startNew(3);
        document.takeLoaded(source, readTextFile(source), Origin(origin));
        // A template's text is a new script's until saved: it never names the template.
        QCOMPARE(document.caption(),
                 Origin(origin) == Origin::File ? source : QStringLiteral("New Script 3"));
        QCOMPARE(document.neverSaved(), Origin(origin) == Origin::Template);
        QCOMPARE(document.path(), Origin(origin) == Origin::File ? source : QString());
        document.setChanged(true);

        const QString target = m_dir.filePath(QStringLiteral("target.cmd"));
        const ScriptDocument::SaveOutcome outcome = document.save(target, "put b\n");
        QCOMPARE(outcome.error, QString());
        QCOMPARE(document.caption(), target);
        QCOMPARE(document.path(), target);
        QVERIFY(!document.neverSaved());
        QVERIFY(!document.Changed());
        QFile written(target);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("put b\n"));
    }
    void failedSaveChangesNothing()
    {
        ScriptDocument document(m_store);
        document.startNew(1);
        document.setChanged(true);
        m_store.atomic = FailingFileStore::Atomic::Fails;
        const ScriptDocument::SaveOutcome outcome
            = document.save(m_dir.filePath(QStringLiteral("x.cmd")), "text");
        m_store.atomic = FailingFileStore::Atomic::Works;
        QVERIFY(!outcome.error.isEmpty());
        QVERIFY(outcome.oldKept);
        QCOMPARE(document.caption(), QStringLiteral("New Script 1"));
        QVERIFY(document.neverSaved());
        QVERIFY(document.Changed());
    }
    void unstorableCharactersAreSavedAsUtf8()
    {
        const QString path = write(QStringLiteral("cp.cmd"), "say \x92hi");
        ScriptDocument document(m_store);
        document.takeLoaded(path, readTextFile(path), Origin::File);
        QCOMPARE(document.format().encoding, TextEncoding::Windows1252);
        const ScriptDocument::SaveOutcome outcome = document.save(path, "put \xE4\xB8\xAD");
        QVERIFY(outcome.error.isEmpty());
        QVERIFY(outcome.notice.contains(QStringLiteral("Windows-1252")));
        QCOMPARE(document.format().encoding, TextEncoding::Utf8);
    }
    void diskStateFollowsTheFile()
    {
        const QString path = write(QStringLiteral("watched.cmd"), "put a");
        ScriptDocument document(m_store);
        document.takeLoaded(path, readTextFile(path), Origin::File);
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Unchanged);
        write(QStringLiteral("watched.cmd"), "put b"); // same size, other bytes
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Modified);
        QVERIFY(!document.diskChangeAcknowledged());
        document.acknowledgeDisk();
        QVERIFY(document.diskChangeAcknowledged());
        QCOMPARE(document.diskState(),
                 ScriptDocument::DiskState::Modified); // still not what we know
        QVERIFY(QFile::remove(path));
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Missing);
        QVERIFY(!document.diskChangeAcknowledged());
        QVERIFY(document.save(path, "put c").error.isEmpty());
        QCOMPARE(document.diskState(), ScriptDocument::DiskState::Unchanged);
    }

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write");
        return path;
    }
    QTemporaryDir m_dir;
    FailingFileStore m_store;
};

QTEST_GUILESS_MAIN(TestScriptDocument)
#include "tst_scriptdocument.moc"
