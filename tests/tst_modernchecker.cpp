#include "CaseTable.h"
#include "CheckRun.h"
#include "ModernChecker.h"
#include "ModernWords.h"
#include "RecordingReport.h"
#include "ScriptLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;

namespace {

// A hunting script of our own in the modern dialect: clean as it stands.
const QString cleanScript = QStringLiteral("# Modern hunt\r\n"                            // 1
                                           "include lib\r\n"                              // 2
                                           "var target goblin\r\n"                        // 3
                                           "action goto flee when You are badly hurt\r\n" // 4
                                           "start:\r\n"                                   // 5
                                           "  gosub stance offensive\r\n"                 // 6
                                           "  if $health < 50 then\r\n"                   // 7
                                           "  {\r\n"                                      // 8
                                           "    goto flee\r\n"                            // 9
                                           "  }\r\n"                                      // 10
                                           "  else\r\n"                                   // 11
                                           "  {\r\n"                                      // 12
                                           "    matchre attack %target|$target\r\n"       // 13
                                           "    matchre start nothing here\r\n"           // 14
                                           "    put look\r\n"                             // 15
                                           "    matchwait 10\r\n"                         // 16
                                           "  }\r\n"                                      // 17
                                           "  goto start\r\n"                             // 18
                                           "attack:\r\n"                                  // 19
                                           "  send attack %target\r\n"                    // 20
                                           "  waitforre ^Roundtime\r\n"                   // 21
                                           "  goto start\r\n"                             // 22
                                           "flee:\r\n"                                    // 23
                                           "  gosub leave\r\n"                            // 24
                                           "  exit\r\n");                                 // 25

QString planted(const QString &from, const QString &to)
{
    QString script = cleanScript;
    script.replace(from, to);
    return script;
}

} // namespace

// The modern dialect: what it accepts, what it reports, and labels across includes.
class TestModernChecker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The verdict of a line in a script that defines start:, "!" before an error, from the table.
    void verdicts_data() { CaseTable::load(QStringLiteral("checker-cases/verdicts-modern.tsv")); }
    void verdicts()
    {
        QFETCH(QString, line);
        QFETCH(QString, verdict);
        const QList<Judged> judged = check(QStringLiteral("start:\r\n") + line);
        QCOMPARE(judged.size(), 2);
        QCOMPARE(judged[1].messages.first(), verdict);
    }
    void plantedMistakesAreFound_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("line");        // the line with the warning, from 1; 0: none at all
        QTest::addColumn<bool>("leaveInLib"); // whether the included script still defines leave:
        QTest::newRow("clean") << cleanScript << 0 << true;
        QTest::newRow("misspelt command")
            << planted(u"    put look"_qs, u"    pt look"_qs) << 15 << true;
        QTest::newRow("label removed under a goto")
            << planted(u"flee:\r\n"_qs, u"fled\r\n"_qs) << 4 << true;
        QTest::newRow("label removed under a matchre")
            << planted(u"attack:\r\n"_qs, u"# attack\r\n"_qs) << 13 << true;
        QTest::newRow("label removed in the include") << cleanScript << 24 << false;
        QTest::newRow("then removed") << planted(u"< 50 then"_qs, u"< 50"_qs) << 7 << true;
        QTest::newRow("closing brace removed")
            << planted(u"  }\r\n  goto start"_qs, u"  goto start"_qs) << 12 << true;
        QTest::newRow("opening brace removed")
            << planted(u"  {\r\n    goto flee"_qs, u"    goto flee"_qs) << 7 << true;
        QTest::newRow("include of a missing file")
            << planted(u"include lib"_qs, u"include nothere"_qs) << 2 << true;
        QTest::newRow("a second else")
            << planted(u"  }\r\n  goto start"_qs, u"  }\r\n  else\r\n  {\r\n  }\r\n  goto start"_qs)
            << 18 << true;
        QTest::newRow("a second else after a brace")
            << planted(u"  }\r\n  goto start"_qs, u"  } else {\r\n  }\r\n  goto start"_qs) << 17
            << true;
        QTest::newRow("if_N block") << planted(
            u"    goto flee\r\n"_qs, u"    if_1 then {\r\n      goto flee\r\n    }\r\n"_qs)
                                    << 0 << true;
        QTest::newRow("if_N block never closed")
            << planted(u"    goto flee\r\n"_qs, u"    if_1 then {\r\n      goto flee\r\n"_qs) << 8
            << true;
    }
    void plantedMistakesAreFound()
    {
        QFETCH(QString, script);
        QFETCH(int, line);
        QFETCH(bool, leaveInLib);
        QTemporaryDir dir;
        QFile lib(dir.filePath(QStringLiteral("lib.cmd")));
        QVERIFY(lib.open(QIODevice::WriteOnly));
        lib.write("stance:\r\n  put stance %1\r\n  return\r\n");
        lib.write(leaveInLib ? "leave:\r\n" : "# leave\r\n");
        lib.write("  put go path\r\n  return\r\n");
        lib.close();
        const QList<Judged> judged = check(script, dir.path());
        QList<int> warned;
        for (qsizetype i = 0; i < judged.size(); ++i) {
            if (judged[i].errors > 0)
                warned << int(i + 1);
        }
        if (line == 0)
            QCOMPARE(warned, QList<int>{});
        else
            QVERIFY2(warned.contains(line),
                     qPrintable(QStringLiteral("warned at line %1 and %2 more")
                                    .arg(warned.value(0))
                                    .arg(warned.size())));
    }
    // A library: a script deep in it includes a shared one at its root, and is assembled from
    // parts named by #REQUIRE; beside the script alone, none of them is found.
    void includesAreLookedForUpToTheRoot()
    {
        QTemporaryDir dir; // whatever is above it: a folder without scripts stands between
        const QDir top(dir.filePath(QStringLiteral("no scripts/top")));
        QVERIFY(top.mkpath(QStringLiteral("lib/.git"))
                && top.mkpath(QStringLiteral("lib/hunts/far")));
        auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(top.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(QStringLiteral("hunt.cmd"), "above the library's root\r\n");
        write(QStringLiteral("lib/LibMaster.cmd"), "shared:\r\n  return\r\n");
        write(QStringLiteral("lib/hunts/parts.cmd"), "part:\r\n");
        write(QStringLiteral("lib/hunts/far/x.cmd"), "x:\r\n");
        const QString script = QStringLiteral("include LIBMASTER\r\n#REQUIRE parts.cmd\r\n"
                                              "#require gone.cmd\r\ngosub shared\r\ngoto part\r\n"
                                              "include hunt");
        const QString folder = top.filePath(QStringLiteral("lib/hunts/far"));
        ScriptLibrary library;
        const QString root = library.libraryRootOf(folder);
        QCOMPARE(root, top.filePath(QStringLiteral("lib"))); // the folder with .git, not above it
        QList<int> errors;
        for (const Judged &line : check(script, {folder, root}))
            errors << line.errors;
        QCOMPARE(errors, QList<int>({0, 0, 1, 0, 0, 1}));
        errors.clear();
        for (const Judged &line : check(script, folder))
            errors << line.errors;
        QCOMPARE(errors, QList<int>({1, 1, 1, 1, 1, 1}));
        // Without .git, the root is as high as folders of scripts reach.
        QVERIFY(QDir(top.filePath(QStringLiteral("lib/.git"))).removeRecursively());
        QCOMPARE(ScriptLibrary().libraryRootOf(folder), top.path());
    }
    void labelsAcrossIncludes()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(QStringLiteral("A.CMD"), "include sub/b\r\nfroma:\r\n");
        write(QStringLiteral("sub/b.cmd"), "include ../a\r\nfromb:\r\n"); // a cycle back to a
        const QList<Judged> judged
            = check(QStringLiteral("include a\r\ninclude sub\r\ninclude /dev/zero\r\ngoto froma\r\n"
                                   "gosub fromb\r\ngoto fromc"),
                    dir.path());
        QCOMPARE(judged[0].errors, 0); // found whatever its letter case
        QCOMPARE(judged[1].messages.first(),
                 QStringLiteral("!Include Command recognised. File not found."));
        QCOMPARE(judged[2].errors, 1); // a device is no script
        QCOMPARE(judged[3].errors, 0);
        QCOMPARE(judged[4].errors, 0); // through the include's include
        QCOMPARE(judged[5].errors, 1);

        // A script without a file resolves no include.
        QCOMPARE(check(QStringLiteral("include a")).first().errors, 1);
    }
    void badInputNeitherHangsNorCrashes()
    {
        QString braces;
        for (int i = 0; i < 1000; ++i)
            braces += QStringLiteral("if $x then {\r\n");
        for (int i = 0; i < 999; ++i)
            braces += QStringLiteral("}\r\n");
        QList<Judged> judged = check(braces);
        QCOMPARE(judged.size(), 2000);
        QCOMPARE(judged[0].messages.last(), QStringLiteral("!Block start never closed."));
        QCOMPARE(judged[1].errors, 0);

        judged = check(QStringLiteral("put a\r\n<%\r\nvar x = 1;\r\n}\r\n"));
        QCOMPARE(judged.size(), 5);
        QCOMPARE(judged[3].messages, QStringList({"Embedded code skipped."}));
        QCOMPARE(judged[0].errors, 0);

        QString matches;
        for (int i = 0; i < 40; ++i)
            matches += QStringLiteral("match x y\r\n");
        matches += QStringLiteral("x:");
        judged = check(matches);
        int tooMany = 0;
        for (const Judged &line : judged)
            tooMany += line.messages.size() > 1;
        QCOMPARE(tooMany, 1); // the 33rd match says it for its block
        QVERIFY(judged[32].messages.last().contains(u"More than 32 Matches"));
    }
    void dialectByLooking_data()
    {
        CaseTable::load(QStringLiteral("checker-cases/dialect-by-looking.tsv"));
    }
    void dialectByLooking()
    {
        QFETCH(QString, script);
        QFETCH(QString, dialect);
        QCOMPARE(looksModern(script.toUtf8()), dialect == u"modern");
    }
    void firstWords_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("kind"); // -1: no modern word

        QTest::newRow("lower") << "gosub" << int(ModernWord::Gosub);
        QTest::newRow("mixed case") << "MatchRe" << int(ModernWord::Matchre);
        QTest::newRow("past eight letters") << "DeleteVariable" << int(ModernWord::Simple);
        QTest::newRow("same first eight letters") << "waitforrx" << -1;
        QTest::newRow("longer than any") << "deletevariables" << -1;
        QTest::newRow("prefix") << "matchr" << -1;
        QTest::newRow("classic word") << "put" << -1;
        QTest::newRow("brace") << "{" << int(ModernWord::OpenBrace);
        QTest::newRow("long s folds to s") << "\u017Fend" << int(ModernWord::Simple);
        QTest::newRow("other letter") << "s\u00E9nd" << -1;
    }
    void firstWords()
    {
        QFETCH(QString, word);
        QFETCH(int, kind);
        const ModernWordEntry *entry = modernWordOf(word);
        QCOMPARE(entry ? int(entry->word) : -1, kind);
    }

private:
    struct Judged
    {
        QStringList messages; // every verdict, "!" before an error
        int errors = 0;
    };
    static QList<Judged> check(const QString &script, const IncludeSearch &search = {})
    {
        ModernChecker checker(script, search);
        QList<Judged> lines;
        forEachCrLfLine(QStringView(script), [&](QStringView line) {
            const LineVerdicts verdicts = checker.judge(line);
            Judged judged;
            for (const auto &verdict : {verdicts.first, verdicts.second}) {
                if (verdict)
                    judged.messages
                        << (verdict->error() ? u"!"_qs : QString()) + verdict->message().toString();
            }
            judged.errors = verdicts.errorCount();
            lines << judged;
        });
        return lines;
    }
};

QTEST_APPLESS_MAIN(TestModernChecker)
#include "tst_modernchecker.moc"
