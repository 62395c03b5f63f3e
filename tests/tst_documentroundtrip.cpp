#include "Corpus.h"
#include "MainWindowFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

using namespace Korveth;

// A file opened and saved without edits comes back byte for byte: encodings, byte-order marks,
// line ends, odd bytes.
class TestDocumentRoundTrip : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripWithoutEdits_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("put a\r\nexit\r\n");
        QTest::newRow("LF, no final line end") << QByteArray("put a\nexit");
        QTest::newRow("CR") << QByteArray("a\rb\r");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\n\r\n");
        QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBFput \xC3\xA9\r\n");
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFEp\0\r\0\n\0\xE9\0", 10);
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0p\0\n", 6);
        QTest::newRow("Windows-1252") << QByteArray("say \x92hi\x85 \x81\x8D\x8F\x90\x9D");
        QTest::newRow("NUL bytes") << QByteArray("put\0x\r\n\0", 8);
        QTest::newRow("tabs and trailing blanks") << QByteArray("\tput a  \t\r\n   ");
        QTest::newRow("empty") << QByteArray();
        // clang-format on
    }
    void roundTripWithoutEdits()
    {
        QFETCH(QByteArray, bytes);
        MainWindowFixture f;
        const QString path = f.write(QStringLiteral("in.cmd"), bytes);
        DocumentWindow *document = f.docs().OpenDocument(path, QStringLiteral("in.cmd"));
        QVERIFY(document);
        QVERIFY(!document->Changed());
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(path), bytes);
        QVERIFY(f.dialogs.shown.isEmpty());
    }
    void corpusRoundTrip()
    {
        KORVETH_CORPUS_OR_SKIP(corpus);
        MainWindowFixture f;
        DocumentWindow *document = f.docs().activeDocument();
        const QString copy = f.dir.filePath(QStringLiteral("copy.cmd"));
        int files = 0;
        QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray original = MainWindowFixture::read(path);
            QCOMPARE(document->load(path, ScriptDocument::Origin::Template).error, QString());
            QVERIFY2(document->saveTo(copy).error.isEmpty(), qPrintable(path));
            if (MainWindowFixture::read(copy) != original)
                QFAIL(qPrintable(QStringLiteral("not byte-identical after a save: ") + path));
            ++files;
        }
        QVERIFY(files > 400);
    }
};

QTEST_MAIN(TestDocumentRoundTrip)
#include "tst_documentroundtrip.moc"
