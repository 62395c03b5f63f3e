#include "CaseTable.h"
#include "ChangedSpan.h"
#include "FailingFileStore.h"
#include "HostileFiles.h"
#include "RecentFiles.h"
#include "RecordingSink.h"
#include "RegularFile.h"
#include "ScriptFiles.h"
#include "StandingText.h"
#include "TextFile.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Korveth;

namespace {} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The bytes of each row, read and written back unchanged.
    void decodeAndRoundTrip_data() { CaseTable::load(QStringLiteral("file-cases/decoding.tsv")); }
    void decodeAndRoundTrip()
    {
        QFETCH(QString, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, bom);
        QFETCH(QString, ending);
        QFETCH(QString, text);
        const QHash<QString, TextEncoding> encodings{{"utf8", TextEncoding::Utf8},
                                                     {"1252", TextEncoding::Windows1252},
                                                     {"utf16le", TextEncoding::Utf16LE},
                                                     {"utf16be", TextEncoding::Utf16BE}};
        const QHash<QString, LineEnding> endings{
            {"crlf", LineEnding::CrLf}, {"lf", LineEnding::Lf}, {"cr", LineEnding::Cr}};

        const DecodedText decoded = decodeText(bytes.toLatin1());
        QCOMPARE(decoded.format.encoding, encodings.value(encoding));
        QCOMPARE(decoded.format.byteOrderMark, bom == u"yes");
        QCOMPARE(decoded.format.lineEnding, endings.value(ending));
        QCOMPARE(QString::fromUtf8(decoded.utf8), text);

        const auto encoded = encodeText(decoded.utf8, decoded.format);
        QVERIFY(encoded.has_value());
        QCOMPARE(*encoded, bytes.toLatin1());
    }
    // A file read a piece at a time gives what a whole reading gives, wherever the pieces break (in
    // a character, between CR and LF, after a BOM) and whatever the encoding turns out to be.
    void readingInPiecesReadsTheWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray line("put caf\xC3\xA9 \xE2\x82\xAC\r\n");
        QTest::newRow("short") << QByteArray("put a\r\nexit");
        QTest::newRow("UTF-8 over several pieces") << line.repeated(300000);
        QTest::newRow("BOM, LF") << QByteArray("\xEF\xBB\xBF")
                                        + QByteArray("go\nab\n").repeated(400000);
        QTest::newRow("no line feed at all") << QByteArray("a\xC3\xA9\r").repeated(700000);
        QTest::newRow("Windows-1252 past the first piece")
            << QByteArray("abc\r\n").repeated(400000) + "say \x92hi\x92\r\n";
        QTest::newRow("UTF-8, then Windows-1252 past the first piece")
            << line.repeated(100000) + "say \x92hi\r\n";
        QTest::newRow("BOM then Windows-1252") << QByteArray("\xEF\xBB\xBFx\n\xFF");
        QTest::newRow("UTF-16 LE")
            << QByteArray("\xFF\xFE") + QByteArray("p\0\r\0\n\0", 6).repeated(300000);
    }
    void readingInPiecesReadsTheWhole()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.cmd"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        const ReadResult whole = readTextFile(path);
        RecordingSink sink;
        const ReadResult pieces = readTextFileInto(path, sink);
        QCOMPARE(pieces.error, QString());
        QCOMPARE(sink.expected, bytes.size());
        QVERIFY(sink.text == whole.text.utf8);
        QVERIFY(pieces.text.utf8.isEmpty());
        QCOMPARE(pieces.text.format, whole.text.format);
        QVERIFY(pieces.snapshot.sameContent(whole.snapshot));

        // The hash is the same whatever sizes the bytes come in.
        ContentHash hash;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype n
                = qMin<qsizetype>(QRandomGenerator::global()->bounded(1, 100), bytes.size() - at);
            hash.add(QByteArrayView(bytes).sliced(at, n));
            at += n;
        }
        QCOMPARE(hash.value(), whole.snapshot.hash);
    }
    void everyByteSurvivesWindows1252()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const DecodedText decoded = decodeText(all);
        QCOMPARE(decoded.format.encoding, TextEncoding::Windows1252);
        QCOMPARE(*encodeText(decoded.utf8, decoded.format), all);
    }
    void windows1252CannotStoreEveryCharacter()
    {
        const TextFileFormat format{TextEncoding::Windows1252, false, LineEnding::CrLf};
        QVERIFY(!encodeText(QStringLiteral("put \u4E2D").toUtf8(), format).has_value());
        QVERIFY(!encodeText(QStringLiteral("put \U0001F600").toUtf8(), format).has_value());
        QCOMPARE(*encodeText(QStringLiteral("\u20AC").toUtf8(), format), QByteArray("\x80"));
    }
    void utf8Validation_data() { CaseTable::load(QStringLiteral("file-cases/utf8.tsv")); }
    void utf8Validation()
    {
        QFETCH(QString, bytes);
        QFETCH(QString, valid);
        QCOMPARE(isValidUtf8(bytes.toLatin1()), valid == u"valid");
    }
    // Lines of random bytes, mostly ASCII with valid and broken sequences among them, at every
    // length around the eight-byte steps; each must come out as Qt's own decoder makes it, even
    // after a longer line has left the buffer full of other characters.
    // Line ends are counted eight bytes a step: every CR, LF and CR LF, wherever it falls in a
    // step or across two, is counted as the lines are cut.
    void lineEndsAreCountedAsLinesAreCut()
    {
        QRandomGenerator random(20261209);
        for (int round = 0; round < 3000; ++round) {
            // Long runs of one line end too: the counters are summed before they overflow.
            QByteArray text = round == 0   ? QByteArray(20000, '\n')
                              : round == 1 ? QByteArray(20000, '\r')
                              : round == 2 ? QByteArray("\r\n").repeated(10000)
                                           : QByteArray(random.bounded(70), 'a');
            for (char &c : text) {
                if (round > 2)
                    c = "a\r\n\r"[random.bounded(4)];
            }
            const QByteArrayView view = QByteArrayView(text).sliced(text.isEmpty() ? 0 : 1);
            Korveth::LineEndCounts counted;
            counted.count(view);
            Korveth::LineEndCounts cut;
            qsizetype last = 0;
            Korveth::forEachEditorLine(view, [&](QByteArrayView, QByteArrayView end) {
                ++(end == "\r\n" ? cut.crlf : end == "\n" ? cut.lf : end == "\r" ? cut.cr : last);
            });
            QVERIFY2(counted.crlf == cut.crlf && counted.lf == cut.lf && counted.cr == cut.cr,
                     view.toByteArray().toPercentEncoding().constData());
        }
    }
    void linesDecodeAsQtDecodes()
    {
        const QByteArray pieces[] = {"a",
                                     "Z",
                                     " ",
                                     "\xC3\xA9",
                                     "\xE2\x82\xAC",
                                     "\xF0\x9F\x98\x80",
                                     "\x80",
                                     "\xE2\x82",
                                     "\xFF",
                                     "\xED\xA0\x80"};
        QRandomGenerator random(20261207);
        LineDecoder decoder;
        for (int round = 0; round < 2000; ++round) {
            QByteArray line;
            const int length = random.bounded(40);
            for (int i = 0; i < length; ++i)
                line += random.bounded(4) == 0 ? pieces[random.bounded(int(std::size(pieces)))]
                                               : "q";
            QCOMPARE(decoder.decode(line).toString(), QString::fromUtf8(line));
        }
    }
    void savingFallsBackOnlyWhenNoTemporaryFileCanBeMade_data()
    {
        // clang-format off
        QTest::addColumn<int>("atomic");
        QTest::addColumn<int>("inPlaceFailures");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<int>("inPlaceWrites");

        using A = FailingFileStore::Atomic;
        QTest::newRow("atomic save") << int(A::Works) << 0 << true << QByteArray("new text") << 0;
        QTest::newRow("failed atomic save keeps the old file")
            << int(A::Fails) << 0 << false << QByteArray("old") << 0;
        QTest::newRow("no temporary file: written in place")
            << int(A::NoTemporaryFile) << 0 << true << QByteArray("new text") << 1;
        QTest::newRow("failed in-place write puts the old content back")
            << int(A::NoTemporaryFile) << 1 << false << QByteArray("old") << 2;
        // clang-format on
    }
    void savingFallsBackOnlyWhenNoTemporaryFileCanBeMade()
    {
        QFETCH(int, atomic);
        QFETCH(int, inPlaceFailures);
        QFETCH(bool, saved);
        QFETCH(QByteArray, onDisk);
        QFETCH(int, inPlaceWrites);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.cmd"));
        FailingFileStore store;
        QVERIFY(saveFile(store, path, "old").error.isEmpty());
        store.atomic = FailingFileStore::Atomic(atomic);
        store.inPlaceFailures = inPlaceFailures;

        const SaveResult result = saveFile(store, path, "new text");
        QCOMPARE(result.error.isEmpty(), saved);
        QVERIFY(result.oldContentKept);
        QCOMPARE(store.inPlaceWrites, inPlaceWrites);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), onDisk);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("a.cmd")}); // no temporary left
    }
    // The real store, in a folder that takes no new files (root too: the folder is immutable).
    void diskStoreWritesInPlaceWhereNoTemporaryFileFits()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.cmd"));
        DiskFileStore store;
        QVERIFY(saveFile(store, path, "old").error.isEmpty());
        const bool root = geteuid() == 0;
        const bool locked
            = root ? QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir.path()})
                         == 0
                   : QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        if (!locked)
            QSKIP("this file system cannot lock a folder");
        const SaveResult result = saveFile(store, path, "new");
        if (root)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        else
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(result.error, QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new"));
    }
    // A FIFO, a device or an endless file would hold the program for good: only regular files
    // within the size limit are read, and only regular files are listed. The bytes reach the disk
    // only when the save is finished: a failure then (a full disk, here a file size limit, which
    // binds root too) is a failed save, and the old file stays.
    void diskStoreTellsWhenTheLastWriteFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.cmd"));
        DiskFileStore store;
        QVERIFY(saveFile(store, path, "old").error.isEmpty());
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{64, limit.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const SaveResult result = saveFile(store, path, QByteArray(4096, 'x'));
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(result.oldContentKept);
        QCOMPARE(*store.read(path), QByteArray("old"));
    }
    // In an append-only folder a temporary file can be made and written, but not renamed over the
    // old file: the commit fails, and the save must say so (root too: the folder's flag binds
    // root).
    void diskStoreTellsWhenTheFinalRenameFails()
    {
        if (geteuid() != 0)
            QSKIP("only root can make a folder append-only");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.cmd"));
        DiskFileStore store;
        QVERIFY(saveFile(store, path, "old").error.isEmpty());
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+a"), dir.path()}) != 0)
            QSKIP("this file system cannot make a folder append-only");
        const FileStore::Attempt attempt = store.replaceAtomically(path, "new");
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-a"), dir.path()});
        QCOMPARE(attempt.outcome, FileStore::Outcome::Failed);
        QVERIFY(!attempt.error.isEmpty());
        QCOMPARE(*store.read(path), QByteArray("old"));
    }
    void readErrorsNameTheReason()
    {
        QTemporaryDir dir;
        QVERIFY(HostileFiles::make(dir.path(), maxScriptBytes + 1));
        QVERIFY(!readTextFile(dir.filePath(QStringLiteral("missing.cmd"))).error.isEmpty());
        QCOMPARE(readTextFile(dir.path()).error, QStringLiteral("It is a folder, not a file."));
        for (const char *name : {"Fifo.cmd", "Zero.cmd", "Stdin.cmd", "Huge.cmd"}) {
            const ReadResult read = readTextFile(dir.filePath(QLatin1StringView(name)));
            QVERIFY2(!read.error.isEmpty() && read.text.utf8.isEmpty(), name);
        }
        QVERIFY(readTextFile(dir.filePath(QStringLiteral("Huge.cmd"))).error.contains(u"256 MB"));
        QFile plain(dir.filePath(QStringLiteral("plain.cmd")));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("put x") == 5);
        plain.close();
        QCOMPARE(readTextFile(plain.fileName()).text.utf8, QByteArray("put x"));
        QCOMPARE(regularFilesIn(QDir(dir.path())), QStringList({"Huge.cmd", "plain.cmd"}));
    }
    void recentListLivesWhereItCanBeWritten()
    {
        QTemporaryDir program, user;
        QCOMPARE(RecentFiles::locate(program.path(), user.path()),
                 program.filePath(QStringLiteral("recent.dat")));
        const QString gone = program.filePath(QStringLiteral("gone"));
        const QString elsewhere = RecentFiles::locate(gone, user.filePath(QStringLiteral("app")));
        QCOMPARE(elsewhere, user.filePath(QStringLiteral("app/recent.dat")));
        const RecentFiles list(elsewhere);
        QVERIFY(list.append(QStringLiteral("/a b/c.cmd")));
        QVERIFY(list.append(QStringLiteral("/a b/c.cmd")));
        QCOMPARE(list.read(), QStringList({"/a b/c.cmd", "/a b/c.cmd"}));
        QFile file(elsewhere);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("/a b/c.cmd\r\n/a b/c.cmd\r\n"));
    }
    // Edits told one by one, the span taken now and then: put in place in the text as last
    // taken, the span's new bytes give the text as it is, and it replaced the bytes it says.
    void changedSpanAddsUpTheEdits()
    {
        QRandomGenerator random(7);
        QByteArray text = "0123456789";
        ChangedSpan changes(
            [&text](qsizetype from, qsizetype length) { return text.sliced(from, length); });
        QVERIFY(!changes.take(text.size())); // never taken: the whole text is wanted
        QByteArray taken = text;
        char next = 'a';
        for (int step = 0; step < 3000; ++step) {
            const auto at = qsizetype(random.bounded(int(text.size()) + 1));
            if (at == text.size() || random.bounded(2)) {
                QByteArray inserted;
                for (int n = random.bounded(1, 4); n > 0; --n, next = next == 'z' ? 'a' : next + 1)
                    inserted += next;
                changes.inserting(text.size(), at, inserted.size());
                text.insert(at, inserted);
            } else {
                const auto count = qsizetype(random.bounded(1, int(text.size() - at) + 1));
                changes.removing(text.size(), at, count);
                text.remove(at, count);
            }
            if (random.bounded(5) == 0) {
                const auto change = changes.take(text.size());
                QVERIFY(change);
                QCOMPARE(change->before, taken.sliced(change->from, change->removed));
                QByteArray rebuilt = taken;
                rebuilt.replace(
                    change->from, change->removed, text.sliced(change->from, change->inserted));
                QCOMPARE(rebuilt, text);
                taken = text;
            }
        }
        changes.take(text.size());
        QCOMPARE(changes.take(text.size()),
                 (ChangedSpan::Change{text.size(), 0, 0, {}})); // no edit
        changes.lose();                                         // a file loaded, say
        QVERIFY(!changes.take(text.size()));
    }
    // Another thread reads a copy of the owner's bytes: where they stand, and once they have been
    // read, as they were before they changed; bytes nobody read are never copied.
    void standingTextIsCopiedOnlyOnceRead()
    {
        QByteArray buffer = "start:\ngoto start";
        QVERIFY(!StandingText().read()); // never stood
        StandingText text;
        text.standing(buffer);
        text.changing();
        buffer.fill('#');
        QVERIFY(!text.read()); // changed before anyone read it: nothing kept
        buffer = "start:\ngoto start";
        text.standing(buffer);
        const std::optional<QByteArray> first = text.read();
        QCOMPARE(first, QByteArray("start:\ngoto start"));
        text.changing();
        buffer.fill('#');
        QCOMPARE(first, QByteArray("start:\ngoto start"));       // a copy, not the bytes
        QCOMPARE(text.read(), QByteArray("start:\ngoto start")); // as they last stood
        buffer = "home:";
        text.standing(buffer);
        QCOMPARE(text.read(), QByteArray("home:"));
    }
};

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
