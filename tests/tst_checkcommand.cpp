#include "CheckRun.h"
#include "Corpus.h"
#include "HostileFiles.h"
#include "ModernChecker.h"
#include "StyledReport.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

// Runs a shell command line in the folder; for what QProcess cannot express (closed or full
// output, names that are not text).
int shell(const QString &folder, const QString &commandLine, QByteArray *err = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine});
    process.waitForFinished(120000);
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

// Runs the real korveth-check executable: its output and exit status are a contract.
class TestCheckCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialects_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("lastLine");

        QTest::newRow("classic by default") << QStringList{} << 1 << "4 Warning(s).";
        QTest::newRow("modern") << QStringList{"--dialect", "modern"} << 0 << "0 Warning(s).";
        QTest::newRow("auto names its choice") << QStringList{"--dialect=auto"} << 0 << "Dialect: modern";
        QTest::newRow("unknown dialect") << QStringList{"--dialect", "newest"} << 2 << "";
        // clang-format on
    }
    void dialects()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, lastLine);
        write(QStringLiteral("labels.cmd"), "shared:\r\n  return\r\n");
        const QString path = write(QStringLiteral("modern.cmd"),
                                   "include labels\r\nvar x 1\r\ngosub shared\r\n"
                                   "if $x = 1 then put look\r\n");
        const Run result = run(options << path);
        QCOMPARE(result.status, status);
        const QList<QByteArray> lines = result.out.trimmed().split('\n');
        if (!lastLine.isEmpty())
            QCOMPARE(QString::fromUtf8(lines.last()), lastLine);
    }
    // An include is looked for from the script's folder up to the scripts folder, no higher.
    void scriptsFolderBoundsTheSearch()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("lib/deep")));
        write(QStringLiteral("lib/shared.cmd"), "shared:\r\n  return\r\n");
        const QString path
            = write(QStringLiteral("lib/deep/hunt.cmd"), "include shared\r\ngosub shared\r\n");
        for (const auto &[root, status] :
             {std::pair{QStringLiteral("lib"), 0}, std::pair{QStringLiteral("lib/deep"), 1}}) {
            const Run result = run({QStringLiteral("--dialect=modern"),
                                    QStringLiteral("--scripts-dir"),
                                    m_dir.filePath(root),
                                    path});
            QCOMPARE(result.status, status);
        }
        QCOMPARE(run({QStringLiteral("--scripts-dir=/nonexistent"), path}).status, 2);
    }
    void outputThatCannotBeWrittenIsAnError_data()
    {
        QTest::addColumn<QString>("redirection");
        QTest::newRow("full disk") << "> /dev/full";
        QTest::newRow("closed output") << ">&-";
    }
    void outputThatCannotBeWrittenIsAnError()
    {
        QFETCH(QString, redirection);
        const QString path = write(QStringLiteral("ok.cmd"), "put a\r\nexit\r\n");
        QByteArray err;
        const int status = shell(m_dir.path(),
                                 QStringLiteral("'%1' '%2' %3")
                                     .arg(QStringLiteral(KORVETH_CHECK_PATH), path, redirection),
                                 &err);
        QCOMPARE(status, 2);
        QVERIFY2(err.contains("cannot write the output"), err.constData());
    }
    void fileNamesAreBytes()
    {
        const QByteArray full = QFile::encodeName(m_dir.path()) + "/bad\xffname.cmd";
        std::FILE *file = std::fopen(full.constData(), "wb");
        QVERIFY(file);
        std::fputs("nextroom\r\n", file);
        std::fclose(file);
        QByteArray err;
        const int status
            = shell(m_dir.path(),
                    QStringLiteral("'%1' --format gcc \"$(printf 'bad\\377name.cmd')\" "
                                   "> out.txt")
                        .arg(QStringLiteral(KORVETH_CHECK_PATH)),
                    &err);
        std::remove(full.constData()); // the temporary folder cannot remove a name that is no text
        QCOMPARE(status, 1);           // read and checked: its one line is a mistake
        QVERIFY2(err.isEmpty(), err.constData());
        QFile out(m_dir.filePath(QStringLiteral("out.txt")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains(":1:1: warning: Command not recognised."));
    }
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::exists(QStringLiteral(KORVETH_CHECK_PATH)));
    }
    // Each folder under checker-cases holds script.cmd (in any encoding the editor reads) and the
    // report expected for it.
    void expectedReports_data()
    {
        // clang-format off
        QTest::addColumn<QString>("folder");
        QDir cases(QStringLiteral(KORVETH_TESTS_DIR "/checker-cases"));
        const QStringList names = cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << cases.filePath(name);
        // clang-format on
    }
    void expectedReports()
    {
        QFETCH(QString, folder);
        QFile expectedFile(folder + QStringLiteral("/expected.txt"));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QByteArray expected = expectedFile.readAll();
        QFile statusFile(folder + QStringLiteral("/status"));
        const int expectedStatus
            = statusFile.open(QIODevice::ReadOnly) ? statusFile.readAll().trimmed().toInt() : 1;

        const Run result = run({folder + QStringLiteral("/script.cmd")});
        QCOMPARE(QString::fromUtf8(result.out), QString::fromUtf8(expected));
        QCOMPARE(result.status, expectedStatus);
    }
    // Each mistake where the editor and the language server mark it: the unknown word, the
    // missing label; both verdicts of the 33rd match line, each at its own part.
    void mistakeFormats()
    {
        const QString path = write(QStringLiteral("gcc.cmd"),
                                   "put a\n\t  bogus\n" + QByteArray("match x y\n").repeated(32)
                                       + "  match z y\nx:");
        const Run gcc = run({QStringLiteral("--format"), QStringLiteral("gcc"), path});
        QCOMPARE(gcc.status, 1);
        QCOMPARE(
            QString::fromUtf8(gcc.out),
            path + QStringLiteral(":2:4: warning: Command not recognised.\n") + path
                + QStringLiteral(":35:9: warning: Match Command recognised. Label not found.\n")
                + path
                + QStringLiteral(":35:3: warning: *** More than 32 Matches, Possible missing "
                                 "MatchWait/Too many matches issued. ***\n"));

        // A name with a quote, a backslash and a tab stays one JSON string.
        const QString odd = write(QStringLiteral("say \"hi\"\\\t.cmd"), "bogus\n");
        const Run json = run({QStringLiteral("--format=json"), path, odd});
        QCOMPARE(json.status, 1);
        const QJsonArray mistakes = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(mistakes.size(), 4);
        QCOMPARE(mistakes[3]["file"].toString(), odd);
        QCOMPARE(mistakes[1].toObject(),
                 QJsonObject({{"file", path},
                              {"uri", path},
                              {"line", 35},
                              {"column", 9},
                              {"endColumn", 10},
                              {"severity", "warning"},
                              {"rule", "match-label-not-found"},
                              {"message", "Match Command recognised. Label not found."}}));

        const Run sarif = run({QStringLiteral("--format"), QStringLiteral("sarif"), path});
        QCOMPARE(sarif.status, 1);
        const QJsonObject log = QJsonDocument::fromJson(sarif.out).object();
        QCOMPARE(log.value("version").toString(), QStringLiteral("2.1.0"));
        const QJsonObject runObject = log.value("runs").toArray().first().toObject();
        const QJsonArray rules = runObject.value("tool")
                                     .toObject()
                                     .value("driver")
                                     .toObject()
                                     .value("rules")
                                     .toArray();
        const QJsonArray results = runObject.value("results").toArray();
        QCOMPARE(results.size(), 3);
        for (const QJsonValue &result : results) {
            const QJsonObject r = result.toObject();
            QCOMPARE(rules[r.value("ruleIndex").toInt()].toObject().value("id"), r.value("ruleId"));
        }
        const QJsonObject region
            = results[0]["locations"][0]["physicalLocation"]["region"].toObject();
        QCOMPARE(region, QJsonObject({{"startLine", 2}, {"startColumn", 4}, {"endColumn", 9}}));
        QCOMPARE(runObject["invocations"][0]["executionSuccessful"].toBool(), true);

        // A file that cannot be read leaves its trace in the log, not only on standard error.
        const QString gone = path + QStringLiteral(".gone");
        const Run partly = run({QStringLiteral("--format"), QStringLiteral("sarif"), path, gone});
        QCOMPARE(partly.status, 2);
        const QJsonObject invocation
            = QJsonDocument::fromJson(partly.out)["runs"][0]["invocations"][0].toObject();
        QCOMPARE(invocation["executionSuccessful"].toBool(), false);
        const QJsonObject notice = invocation["toolExecutionNotifications"][0].toObject();
        QCOMPARE(notice["level"].toString(), QStringLiteral("error"));
        QVERIFY(notice["locations"][0]["physicalLocation"]["artifactLocation"]["uri"]
                    .toString()
                    .endsWith(u".gone"));

        // A name that is not UTF-8 keeps its bytes in the URIs (and in gcc's lines).
        std::FILE *latin1
            = std::fopen(QFile::encodeName(m_dir.filePath(u"caf"_qs)) + "\xe9.cmd", "wb");
        QVERIFY(latin1);
        std::fputs("goto nowhere\n", latin1);
        std::fclose(latin1);
        for (const char *format : {"sarif", "json", "gcc"}) {
            QProcess shell;
            shell.setWorkingDirectory(m_dir.path());
            shell.start(u"sh"_qs,
                        {u"-c"_qs,
                         u"exec \"$0\" --format %1 caf?.cmd"_qs.arg(QLatin1StringView(format)),
                         QStringLiteral(KORVETH_CHECK_PATH)});
            QVERIFY(shell.waitForFinished(60000));
            const QByteArray out = shell.readAllStandardOutput();
            QVERIFY2(out.contains(format[0] == 'g' ? "caf\xe9.cmd:1:6:" : "\"caf%E9.cmd\""),
                     out.constData());
        }
    }
    void exitStatus_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("stderrSaysSomething");

        QTest::newRow("help") << QStringList{"--help"} << 0 << false;
        QTest::newRow("version") << QStringList{"--version"} << 0 << false;
        QTest::newRow("no file") << QStringList{} << 2 << true;
        QTest::newRow("unknown option") << QStringList{"--frobnicate", "x.cmd"} << 2 << true;
        QTest::newRow("unknown format") << QStringList{"--format", "xml", "x.cmd"} << 2 << true;
        QTest::newRow("format without value") << QStringList{"--format"} << 2 << true;
        QTest::newRow("missing file") << QStringList{"/nonexistent/x.cmd"} << 2 << true;
        QTest::newRow("folder") << QStringList{"/"} << 2 << true;
        // clang-format on
    }
    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, stderrSaysSomething);
        const Run result = run(arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(!result.err.isEmpty(), stderrSaysSomething);
        if (status == 0)
            QVERIFY(!result.out.isEmpty());
    }
    void standardInput()
    {
        const Run result = run({QStringLiteral("--format=gcc"), QStringLiteral("-")}, "oops\n");
        QCOMPARE(result.out, QByteArray("-:1:1: warning: Command not recognised.\n"));
        QCOMPARE(result.status, 1);
    }
    void severalFilesGetHeaders()
    {
        const QString good = write(QStringLiteral("good.cmd"), "exit");
        const QString missing = m_dir.filePath(QStringLiteral("missing.cmd"));
        const Run result = run({good, missing, good});
        QCOMPARE(result.out,
                 ("== " + good + " ==\nexit - Exit Command recognised.\n1 Lines.\n0 Warning(s).\n")
                     .toUtf8()
                     .repeated(2));
        QVERIFY(result.err.contains(missing.toUtf8()));
        QCOMPARE(result.status, 2);
    }
    void hostileFiles_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");

        QByteArray binary;
        for (int i = 0; i < 100000; ++i)
            binary.append(char((i * 7919) & 0xFF));
        QTest::newRow("binary") << binary << -1;
        QTest::newRow("NUL bytes") << QByteArray("put\0\0\r\n\0", 8) << 2;
        QTest::newRow("colons") << QByteArray(1'000'000, ':') << 1;
        QTest::newRow("long line") << ("goto " + QByteArray(4'000'000, 'z')) << 1;
        // Every goto names its own long label with a colon inside: a scan per line would take hours.
        QByteArray longLabels;
        for (int i = 0; i < 20000; ++i) {
            const QByteArray name = QByteArray(150, 'x') + QByteArray::number(i) + "a:b";
            longLabels += "goto " + name + "\n" + name + ":\n";
        }
        QTest::newRow("long distinct labels") << longLabels << 40001;
        // clang-format on
    }
    // A long script is judged in two halves at once, cut at the first line end past its middle;
    // the count of matches since the last matchwait runs across the cut. What comes out is what
    // the Script Debugger reports, line by line, and the mistakes are those lines, in order.
    void longScriptsSayWhatTheDebuggerSays_data()
    {
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<int>("matchesBeforeCut");
        for (const char *dialect : {"classic", "modern"}) {
            for (const int before : {0, 5, 20, 32, 33, 40}) {
                QTest::addRow("%s, %d matches before the cut", dialect, before)
                    << QString::fromLatin1(dialect) << before;
            }
        }
    }
    void longScriptsSayWhatTheDebuggerSays()
    {
        QFETCH(QString, dialect);
        QFETCH(int, matchesBeforeCut);
        QByteArray text;
        for (int i = 0; i < 40; ++i)
            text += "L" + QByteArray::number(i) + ":\r\n";
        const auto fill = [&text](qsizetype bytes) {
            while (bytes >= 2 * 17) {
                text += "put look 123456\r\n";
                bytes -= 17;
            }
            text += "put " + QByteArray(bytes - 6, 'x') + "\r\n";
        };
        // Labels defined in the other half, here and in an included script.
        text += "goto late\r\ngoto shared\r\ngoto nowhere\r\n";
        fill(600000);
        // Labels found and not, matchre, mistakes between them (one that only the survey of the
        // whole script finds, on the line after a match).
        const auto matches = [&text](int count) {
            for (int i = 0; i < count; ++i) {
                const QByteArray n = QByteArray::number(i % 50);
                text += i % 3 == 0   ? "match L" + n + " you see\r\n"
                        : i % 3 == 1 ? "match M" + n + " you see\r\n"
                                     : "matchre L" + n + " /x|y/\r\n";
                if (i % 7 == 0)
                    text += "puut x\r\n";
                if (i % 13 == 3)
                    text += "  put caf\xc3\xa9\tau lait \r\n\tmatch L1 \xe2\x80\x94 you see\r\n";
                if (i % 11 == 5)
                    text += "}\r\n"; // a modern script's mistake the survey finds
            }
        };
        text += "matchwait\r\n";
        matches(matchesBeforeCut);
        const qsizetype cut = text.size() - 1; // the last LF
        matches(80);
        text += "matchwait\r\n";
        matches(40);
        text += "late:\r\ninclude lib\r\ninclude gone\r\n";
        write(QStringLiteral("lib.cmd"), "shared:\r\n");
        fill(2 * (cut + 1) - text.size() - 9);
        text += "echo done";
        QCOMPARE(text.size(), 2 * (cut + 1));
        QVERIFY(text.size() > 1 << 20); // long enough to be cut
        const QString path = write(QStringLiteral("long.cmd"), text);

        using namespace Korveth;
        const DialectChoice choice
            = dialect == u"modern" ? DialectChoice::Modern : DialectChoice::Classic;
        const auto checker = makeChecker(text, choice, IncludeSearch(m_dir.path(), {}));
        StyledReport report;
        ReportMap map;
        const CheckSummary summary = runCheck(QString::fromUtf8(text), *checker, report, {}, &map);
        writeSummary(summary, report);
        QByteArray expected = report.text() + "\r\n";
        expected.replace("\r\n", "\n");
        QVERIFY(summary.errorCount > 10);

        const Run whole = run({"--dialect", dialect, path});
        QCOMPARE(whole.out, expected);
        QByteArray lines;
        for (const ReportMap::Mistake &mistake : map.mistakes) {
            const int line = map.scriptLineOfReportLine[std::size_t(mistake.reportLine)] + 1;
            lines += QByteArray::number(line) + " ";
        }
        QByteArray told;
        const Run gcc = run({"--dialect", dialect, "--format", "gcc", path});
        for (const QByteArray &line : gcc.out.split('\n')) {
            if (!line.isEmpty())
                told += line.split(':').value(1) + " ";
        }
        QCOMPARE(told, lines);
    }
    // Every non-empty line gets its verdict and the run ends with the summary.
    void hostileFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        const Run result = run({write(QStringLiteral("hostile.cmd"), bytes)});
        QVERIFY(result.status == 0 || result.status == 1);
        QVERIFY(result.out.contains(" Warning(s).\n"));
        if (lines >= 0)
            QVERIFY(result.out.contains("\n" + QByteArray::number(lines) + " Lines.\n"));
    }
    // Named or included, none of them may hang the checker or exhaust its memory.
    void devicesFifosAndHugeFilesAreNotRead()
    {
        QTemporaryDir dir;
        const qint64 pastTheLimit = qint64(256) * 1024 * 1024 + 1;
        QVERIFY(HostileFiles::make(dir.path(), pastTheLimit));
        const QString script = dir.filePath(QStringLiteral("main.cmd"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(HostileFiles::includingScript());
        file.close();
        const Run included = run({"--format", "gcc", "--dialect", "modern", script});
        QCOMPARE(included.status, 1);
        QCOMPARE(included.out.count("File cannot be read: not a regular file, or over 256 MB."), 4);

        QStringList named;
        for (const char *name : {"Fifo.cmd", "Zero.cmd", "Stdin.cmd", "Huge.cmd"})
            named << dir.filePath(QLatin1StringView(name));
        const Run direct = run(QStringList{"--dialect", "modern"} + named + QStringList{script});
        QCOMPARE(direct.status, 2);
        for (const QString &path : named)
            QVERIFY2(direct.err.contains(QFile::encodeName(path)), qPrintable(path));
        QVERIFY(
            direct.out.contains("File cannot be read")); // the script after them is still checked
    }
    void corpusIsCheckedWithoutFailure()
    {
        KORVETH_CORPUS_OR_SKIP(corpus);
        QStringList files;
        QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QStringLiteral(".md")))
                files.append(path);
        }
        QVERIFY(files.size() > 400);
        // One process per batch keeps the test quick; the status covers every file of the batch.
        for (qsizetype i = 0; i < files.size(); i += 50) {
            const QStringList batch = files.mid(i, 50);
            const Run result
                = run(QStringList{QStringLiteral("--format"), QStringLiteral("gcc")} + batch);
            QVERIFY2(
                result.status == 0 || result.status == 1,
                qPrintable(batch.first() + QStringLiteral(": ") + QString::fromUtf8(result.err)));
        }
    }

private:
    struct Run
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess process;
        process.start(QStringLiteral(KORVETH_CHECK_PATH), arguments);
        if (!process.waitForStarted())
            return {};
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(120000);
        Run result;
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return path;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "tst_checkcommand.moc"
