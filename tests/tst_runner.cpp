#include "Corpus.h"
#include "GameSource.h"
#include "HostileFiles.h"
#include "LogReadAhead.h"
#include "RunCommand.h"
#include "ScriptRunner.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

using namespace Korveth;

namespace {

// What korveth-run writes and returns, run in the process.
struct Ran
{
    QByteArray out;
    int status = -1;
};

Ran runIn(const QString &folder, const QStringList &arguments)
{
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    QList<QByteArray> raw;
    for (const QString &a : arguments)
        raw.append(a.toLocal8Bit());
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    Ran ran;
    ran.status = runRunCommand(raw, out, err);
    for (std::FILE *f : {out, err}) {
        std::rewind(f);
        char piece[4096];
        for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, f)) > 0;)
            ran.out.append(piece, qsizetype(n));
        std::fclose(f);
    }
    QDir::setCurrent(before);
    return ran;
}

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each folder under run-cases holds script.cmd, perhaps game.log, the command line in
    // `command`, and what korveth-run prints and returns for it.
    void expectedTraces_data()
    {
        QTest::addColumn<QString>("folder");
        QDir cases(QStringLiteral(KORVETH_SOURCE_DIR "/tests/run-cases"));
        const QStringList names = cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY(names.size() > 10);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << cases.filePath(name);
    }
    void expectedTraces()
    {
        QFETCH(QString, folder);
        auto read = [&](const char *name) {
            QFile file(folder + u'/' + QLatin1StringView(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QStringList command
            = QString::fromUtf8(read("command")).simplified().split(u' ', Qt::SkipEmptyParts);
        const Ran ran = runIn(folder, command);
        QCOMPARE(QString::fromUtf8(ran.out), QString::fromUtf8(read("expected.txt")));
        QCOMPARE(ran.status, read("status").trimmed().toInt());
    }
    // A wait read a few lines at a time, as the editor reads it between its slices, runs as the
    // same wait read whole: every case's trace is the same both ways.
    void waitsReadInPiecesRunAsWhole()
    {
        QDir cases(QStringLiteral(KORVETH_SOURCE_DIR "/tests/run-cases"));
        for (const QString &name : cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile script(cases.filePath(name + u"/script.cmd"_qs));
            QVERIFY(script.open(QIODevice::ReadOnly));
            const QString log = cases.filePath(name + u"/game.log"_qs);
            for (Dialect dialect : {Dialect::Classic, Dialect::Modern}) {
                const RunProgram program(QString::fromUtf8(script.readAll()), dialect);
                script.seek(0);
                QStringList traces[2];
                for (int pieces : {0, 1}) {
                    std::unique_ptr<GameSource> source;
                    if (QFile::exists(log))
                        source = std::make_unique<LogSource>(log);
                    else
                        source = std::make_unique<LineSource>();
                    RunOptions options;
                    options.dialect = dialect;
                    options.arguments = {u"orc"_qs};
                    ScriptRunner runner(program, options, *source);
                    runner.onEvent = [&](const RunEvent &event) {
                        traces[pieces].append(QString::number(event.line) + u' '
                                              + runEventText(event));
                    };
                    for (qint64 read = 0;
                         runner.step(pieces ? 1 : std::numeric_limits<qint64>::max())
                         == ScriptRunner::Outcome::Ran;
                         read = source->lineNumber()) {
                        // A piece is no longer than asked.
                        QVERIFY(!pieces || source->lineNumber() - read <= 1);
                    }
                    traces[pieces].append(runFindingName(runner.finding()->kind));
                }
                QCOMPARE(traces[1], traces[0]);
            }
        }
    }
    // Which of a matchwait's texts a game line holds, letter case ignored, found in one pass over
    // an ASCII line's bytes or in the decoded text of any other.
    void matchTextsInALine_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("line");
        QTest::addColumn<quint64>("hits");
        const QStringList hunt{"You miss", "you KILLED", "Roundtime"};
        QTest::addRow("either case") << hunt << "YOU MISS the rat" << quint64(0b001);
        QTest::addRow("two at once") << hunt << "You killed it. Roundtime: 3" << quint64(0b110);
        QTest::addRow("none") << hunt << "You see a rat" << quint64(0);
        QTest::addRow("longer than the line") << hunt << "Round" << quint64(0);
        QTest::addRow("at the very end") << hunt << "...roundtime" << quint64(0b100);
        QTest::addRow("brackets are not letters") << QStringList{"[x]"} << "{x}" << quint64(0);
        QTest::addRow("an empty text is everywhere")
            << QStringList{"", "a"} << "b" << quint64(0b01);
        QTest::addRow("a text that is not ASCII")
            << QStringList{u"Grüße"_qs, "gr"} << u"GRÜSSE grüße"_qs << quint64(0b11);
        QTest::addRow("an ASCII text in a line that is not")
            << QStringList{"cafe", "caf"} << u"Café"_qs << quint64(0b10);
    }
    void matchTextsInALine()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, line);
        QFETCH(quint64, hits);
        std::vector<FoldedText> folded;
        for (const QString &text : texts)
            folded.emplace_back(text);
        std::vector<const FoldedText *> pointers;
        for (const FoldedText &text : folded)
            pointers.push_back(&text);
        FoldedTextSet set;
        set.assign(pointers);
        const QByteArray ascii = line.toLatin1();
        GameLine gameLine;
        if (QString::fromLatin1(ascii) == line
            && std::all_of(ascii.begin(), ascii.end(), [](char c) { return c >= 0; }))
            gameLine.setAscii(ascii);
        else
            gameLine.setText(line);
        QCOMPARE(gameLine.holds(set), hits);
        for (std::size_t i = 0; i < folded.size(); ++i)
            QCOMPARE(gameLine.contains(folded[i]), bool((hits >> i) & 1));
    }
    // A log is read as it is consumed, however its lines end and wherever its pieces break.
    void logLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QByteArray longLine(100000, 'x');
        QTest::addRow("every line end")
            << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::addRow("a CR LF across a piece") << QByteArray(64 * 1024 - 1, 'y') + "\r\nz"
                                                << QStringList{QString(64 * 1024 - 1, u'y'), "z"};
        QTest::addRow("a 100,000-character line")
            << longLine + "\nend" << QStringList{QString::fromLatin1(longLine), "end"};
        QTest::addRow("Windows-1252 beside UTF-8") << QByteArray("caf\xe9\nGr\xc3\xbc\xc3\x9f"
                                                                 "e")
                                                   << QStringList{u"café"_qs, u"Grüße"_qs};
        QTest::addRow("binary") << QByteArray("a\0b\nc", 5)
                                << QStringList{QString(u"a\0b"_qs.data(), 3), "c"};
        QTest::addRow("FF FE in mid-log is Windows-1252") << QByteArray("a\n\xff\xfe"
                                                                        "b\n")
                                                          << QStringList{"a", u"\u00ff\u00feb"_qs};
        QTest::addRow("a line past the limit is cut")
            << QByteArray(LogSource::maxLineBytes + 2, 'x')
            << QStringList{QString(LogSource::maxLineBytes, u'x'), "xx"};
        QTest::addRow("UTF-16 BE")
            << QByteArray("\xfe\xff\0a\0\r\0\n\0b", 10) << QStringList{"a", "b"};
    }
    void logLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"game.log"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        LogSource log(file.fileName());
        QStringList read;
        while (const auto line = log.next())
            read.append(line->text().toString());
        QCOMPARE(read, lines);
        QCOMPARE(log.lineNumber(), qint64(lines.size()));
        // Read ahead on a thread, as the editor reads it, the lines are the same.
        LogReadAhead ahead(file.fileName(), [] {});
        QStringList readAhead;
        for (;;) {
            if (const auto line = ahead.next())
                readAhead.append(line->text().toString());
            else if (!ahead.mayGrow())
                break;
            else
                QThread::yieldCurrentThread();
        }
        QCOMPARE(readAhead, lines);
    }
    // A log that is not a regular file, or is too large, is refused at once with its reason.
    void hostileLogsAreRefused()
    {
        QTemporaryDir dir;
        QVERIFY(HostileFiles::make(dir.path(), maxScriptBytes + 1));
        QFile script(dir.filePath(u"hunt.cmd"_qs));
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write("waitfor You\n") > 0);
        script.close();
        const QStringList logs{u"Fifo.cmd"_qs, u"Zero.cmd"_qs, u"Stdin.cmd"_qs, u"Huge.cmd"_qs};
        for (const QString &log : logs) {
            const Ran ran = runIn(dir.path(), {u"--log"_qs, log, u"hunt.cmd"_qs});
            QCOMPARE(ran.status, 2);
            QVERIFY2(ran.out.contains("not a file") || ran.out.contains("a log may have at most"),
                     ran.out.constData());
        }
    }
    // An include that cannot be put in is noted with its reason: past the size limit, or nested
    // deeper than the run follows.
    void includesThatCannotBePutIn()
    {
        QTemporaryDir dir;
        QVERIFY(HostileFiles::make(dir.path(), maxScriptBytes + 1));
        for (int i = 0; i < 20; ++i) {
            QFile chained(dir.filePath(u"c%1.cmd"_qs.arg(i)));
            QVERIFY(chained.open(QIODevice::WriteOnly));
            chained.write("include c" + QByteArray::number(i + 1) + "\n");
        }
        ScriptLibrary library;
        const RunProgram program(u"include huge\ninclude c0\n"_qs,
                                 Dialect::Modern,
                                 IncludeSearch(dir.path(), dir.path()),
                                 &library);
        QStringList notes;
        for (const auto &[at, why] : program.missingIncludes())
            notes.append(why);
        QCOMPARE(notes.size(), 2);
        QVERIFY2(notes[0].contains(u"cannot be read: It is 256 MB; a script may have at most"),
                 qPrintable(notes[0]));
        QVERIFY2(notes[1].contains(u"more than 16 deep"), qPrintable(notes[1]));
    }
    // The texts a pattern is known to need never hide a line it matches, and keep most lines from
    // the pattern library: every pattern against every line.
    void patternTextsNeverHideAMatch()
    {
        const QStringList patterns{u"^Roundtime:"_qs,
                                   u"\\.\\.\\.wait|type ahead"_qs,
                                   u"/You (hit|miss) the \\w+/i"_qs,
                                   u"^push loom|^clean loom|^turn loom"_qs,
                                   u"ab+c"_qs,
                                   u"colou?r"_qs,
                                   u"x{2}yz"_qs,
                                   u"[Rr]oundtime"_qs,
                                   u"(?i)roundtime"_qs,
                                   u"\\d+ coins?"_qs,
                                   u"a.c$"_qs,
                                   u"^$"_qs,
                                   u"You (?:see|notice) (.*)\\."_qs};
        const QStringList lines{u"Roundtime: 3 sec."_qs,
                                u"...wait 2 seconds."_qs,
                                u"Sorry, you may only type ahead 1 command."_qs,
                                u"YOU MISS THE goblin"_qs,
                                u"push loom"_qs,
                                u"abbbc"_qs,
                                u"a color"_qs,
                                u"xxyz"_qs,
                                u"roundtime"_qs,
                                u"You see 12 coin here."_qs,
                                u"abc"_qs,
                                u""_qs,
                                u"You notice a rat."_qs,
                                u"The rat dodges."_qs};
        int kept = 0;
        for (const QString &written : patterns) {
            const RunPattern pattern(written);
            QVERIFY2(pattern.isValid(), qPrintable(written));
            for (const QString &text : lines) {
                GameLine line;
                line.setText(text);
                const bool matches = pattern.match(text) == RunPattern::Result::Match;
                QVERIFY2(!matches || pattern.mayMatch(line),
                         qPrintable(written + u" / "_qs + text));
                kept += !pattern.mayMatch(line);
            }
        }
        QVERIFY(kept > 100); // most pairs never reach the library
    }
    // Every operator on both sides, and every function: the value, or "error" / "unknown".
    void expressions_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("value");
        const std::pair<const char *, const char *> rows[] = {
            {"2 < 10", "1"},
            {"10 < 2", "0"},
            {"2 > 10", "0"},
            {"10 > 2", "1"},
            {"3 <= 3", "1"},
            {"4 <= 3", "0"},
            {"3 >= 4", "0"},
            {"4 >= 3", "1"},
            {"3 = 3.0", "1"},
            {"3 == 4", "0"},
            {"3 != 4", "1"},
            {"3 <> 3", "0"},
            {"abc = ABC", "1"},
            {"\"b\" > \"a\"", "1"},
            {"7 % 4", "3"},
            {"7 / 2", "3.5"},
            {"1 / 0", "error"},
            {"not 0 and (1 or 0)", "1"},
            {"!1 || 0", "0"},
            {"-(2 * 3) + 1", "-5"},
            {"len(\"hello\")", "5"},
            {"length(abc)", "3"},
            {"tolower(\"ABC d\")", "abc d"},
            {"toupper(abc)", "ABC"},
            {"trim(\"  a b  \")", "a b"},
            {"contains(\"A sword\", SWORD)", "1"},
            {"startswith(sword, sw)", "1"},
            {"endswith(sword, sw)", "0"},
            {"indexof(\"a sword\", sword)", "2"},
            {"indexof(abc, z)", "-1"},
            {"count(\"a|b|c\", \"|\")", "2"},
            {"element(\"a|b|c\", 1)", "b"},
            {"element(\"a|b|c\", 3)", ""},
            {"substring(\"a sword\", 2, 3)", "swo"},
            {"replace(\"a-b-c\", \"-\", \"+\")", "a+b+c"},
            {"replacere(\"a1b22c\", \"\\d+\", \"#\")", "a#b#c"},
            {"matchre(\"You hit it\", \"^You (hit|miss)\")", "1"},
            {"matchre(abc, \"(\")", "error"},
            {"def(weapon)", "1"},
            {"def(shield)", "0"},
            {"contains(a)", "error"},
            {"frobnicate(1)", "unknown"},
            {" = \"\"", "1"},
            {"%time = day", "0"},
            {"10 < ", "0"},
            {"$%weapon%c_XP.Rate < 30", "1"}, // texts compare: "$" sorts before "3"
        };
        for (const auto &[expression, value] : rows)
            QTest::newRow(expression) << QString::fromUtf8(expression) << QString::fromUtf8(value);
    }
    void expressions()
    {
        QFETCH(QString, expression);
        QFETCH(QString, value);
        const ExpressionValue got = evaluateExpression(
            expression, [](QStringView name) { return name.compare(u"weapon") == 0; });
        const QString shown = got.unknown            ? QStringLiteral("unknown")
                              : !got.error.isEmpty() ? QStringLiteral("error")
                                                     : got.text;
        QCOMPARE(shown, value);
    }
    // The language as players' front end runs it, construct by construct: a script, the game
    // lines, and what it echoes.
    void languageConstructs_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("game");
        QTest::addColumn<QStringList>("echoed");
        QTest::newRow("dotted names")
            << u"var max.item 200\necho %max.item and %max.\necho $Skill.Rate"_qs << QStringList()
            << QStringList{"200 and %max.", "12"};
        QTest::newRow("a name built in passes")
            << u"counter set 2\nvar weapon2 sword\necho %weapon%c"_qs << QStringList()
            << QStringList{"sword"};
        QTest::newRow("an argument inside a name")
            << u"var 5mana low\ngosub check 5\nexit\ncheck:\necho %$0mana\nreturn"_qs
            << QStringList() << QStringList{"low"};
        QTest::newRow("captures from matchre")
            << u"matchre got (\\w+) arrow lodges\nmatchwait\ngot:\necho got $1 from $0"_qs
            << QStringList{"A barbed arrow lodges in you."}
            << QStringList{"got barbed from barbed arrow lodges"};
        QTest::newRow("captures from matchre() reach the then command")
            << u"var m bone|tusk\nif matchre(\"a tusk\", \"(\\w+) (%m)\") then echo $2 of $0\nif matchre(%0, \"(\\w+) b\") then echo $1"_qs
            << QStringList() << QStringList{"tusk of a tusk", "hello"};
        QTest::newRow("captures from waitforre")
            << u"waitforre /^You see (\\d+) coins/i\necho $1"_qs
            << QStringList{"YOU SEE 42 coins here."} << QStringList{"42"};
        QTest::newRow("captures from an action")
            << u"action echo hit by $1 when (\\w+) hits you\nwaitfor done\necho end"_qs
            << QStringList{"The goblin hits you.", "done"} << QStringList{"hit by goblin", "end"};
        QTest::newRow("a trigger without slashes is a pattern")
            << u"action goto retry when \\.\\.\\.wait|type ahead\nwaitfor never\nretry:\necho retried"_qs
            << QStringList{"...wait 2 seconds."} << QStringList{"retried"};
        QTest::newRow("action classes off and on")
            << u"action (combat) echo A when ouch\naction (combat) inactivate\nwaitfor ouch\naction (combat) on\nwaitfor ouch\necho end"_qs
            << QStringList{"ouch", "ouch"} << QStringList{"A", "end"};
        QTest::newRow("action remove")
            << u"action echo A when ouch\naction remove ouch\nwaitfor ouch\necho end"_qs
            << QStringList{"ouch"} << QStringList{"end"};
        QTest::newRow("action when eval")
            << u"var hp 10\naction echo low when eval %hp < 5\nwaitfor a\nvar hp 3\nwaitfor b\necho end"_qs
            << QStringList{"a", "b"} << QStringList{"low", "end"};
        for (const char *branch : {"1", "2"}) {
            QTest::addRow("else on its own line, if %s", branch)
                << u"if 1 = "_qs + QLatin1StringView(branch)
                       + u" then\n{\necho A\n}\nelse\n{\necho B\n}\necho C"_qs
                << QStringList() << QStringList{branch[0] == '1' ? "A" : "B", "C"};
            QTest::addRow("} else then { below, if %s", branch)
                << u"if 1 = "_qs + QLatin1StringView(branch)
                       + u" then {\necho A\n} else\n{\necho B\n}\necho C"_qs
                << QStringList() << QStringList{branch[0] == '1' ? "A" : "B", "C"};
        }
        QTest::newRow("if_N then {")
            << u"gosub t x\ngosub t\nexit\nt:\nif_1 then {\necho given %1\n}\necho after\nreturn"_qs
            << QStringList() << QStringList{"given x", "after", "after"};
        QTest::newRow("an action's goto comes before the wait's end")
            << u"action goto hurt when ouch\nwaitfor ouch\necho next\nexit\nhurt:\necho hurt"_qs
            << QStringList{"ouch"} << QStringList{"hurt"};
        QTest::newRow("gosub clear") << u"gosub one\necho never\none:\ngosub clear\nreturn"_qs
                                     << QStringList() << QStringList();
    }
    void languageConstructs()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, game);
        QFETCH(QStringList, echoed);
        const RunProgram program(script, Dialect::Modern);
        LineSource source(game);
        RunOptions options;
        options.globals.insert(QStringLiteral("SKILL.RATE"), QStringLiteral("12"));
        options.arguments = QStringList{u"hello"_qs, u"big"_qs};
        ScriptRunner runner(program, options, source);
        QStringList heard;
        runner.onEvent = [&](const RunEvent &event) {
            if (event.kind == RunEvent::Kind::Echoed)
                heard << event.text;
        };
        runner.run();
        QCOMPARE(heard, echoed);
    }
    // An include inside an included script is looked for from that script's folder, as the
    // checker looks for it; a #REQUIRE part is put in after the script.
    void nestedIncludesAreFoundBesideTheirIncluder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"lib"_qs));
        for (const auto &[name, text] :
             {std::pair{"lib/a.cmd", "include b\n"}, std::pair{"lib/b.cmd", "echo from b\n"}}) {
            QFile file(dir.filePath(QLatin1StringView(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        ScriptLibrary library;
        const RunProgram program(u"include lib/a\n"_qs,
                                 Dialect::Modern,
                                 IncludeSearch(dir.path(), dir.path()),
                                 &library);
        QVERIFY(program.missingIncludes().isEmpty());
        QCOMPARE(program.fileCount(), 3);

        // A part a script requires follows it, its gosub and exit at its top never run first.
        QFile part(dir.filePath(u"lib/heal.cmd"_qs));
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.write("gosub heal %0\nexit\nheal:\necho healed\nreturn\n");
        part.close();
        const RunProgram assembled(u"#REQUIRE heal.cmd\ngosub heal\necho back\nexit"_qs,
                                   Dialect::Modern,
                                   IncludeSearch(dir.filePath(u"lib"_qs), dir.path()),
                                   &library);
        LineSource none;
        ScriptRunner runner(assembled, {}, none);
        QStringList heard;
        runner.onEvent = [&](const RunEvent &event) {
            if (event.kind == RunEvent::Kind::Echoed)
                heard << event.text;
        };
        runner.run();
        QCOMPARE(heard, QStringList({"healed", "back"}));
    }
    // Gosubs may nest exactly as deep as the limit: one more is the finding.
    void gosubDepthLimitIsExact()
    {
        // Counting down from N nests N - 1 gosubs; the limit is 3.
        for (const int depth : {4, 5}) {
            const RunProgram program(u"counter set %1\ndown:\ncounter subtract 1\nif %c > 0 then "
                                     u"gosub down\nreturn"_qs.arg(depth),
                                     Dialect::Modern);
            LineSource none;
            RunOptions options;
            options.maxGosubDepth = 3;
            ScriptRunner runner(program, options, none);
            runner.run();
            QCOMPARE(runFindingName(runner.finding()->kind),
                     depth == 5 ? u"too-deep"_qs : u"return-without-gosub"_qs);
        }
    }
    // Scripts that would exhaust the stack, memory or time: each ends at once with its finding.
    void hostileScriptsEnd_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("finding");
        const auto times = [](QStringView piece, int n) {
            return piece.toString().repeated(n);
        };
        QTest::addRow("5,000 parentheses")
            << u"eval x "_qs + times(u"(", 5000) + u'1' + times(u")", 5000) << "bad-number";
        QTest::addRow("50,000 minus signs")
            << u"eval x "_qs + times(u"-", 50000) + u'1' << "bad-number";
        QTest::addRow("100,000 nots")
            << u"if "_qs + times(u"not ", 100000) + u"1 then echo y"_qs << "cannot-know";
        QTest::addRow("nested len")
            << u"eval x "_qs + times(u"len(", 5000) + u'a' + times(u")", 5000) << "bad-number";
        QTest::addRow("a value that doubles")
            << u"var x ab\nloop:\nvar x %x%x\ngoto loop"_qs << "too-large";
        QTest::addRow("values that pile up")
            << u"var x a\n"_qs + times(u"var x %x%x\n", 19)
                   + u"loop:\ncounter add 1\nvar y%c %x\ngoto loop"_qs
            << "too-large";
        QTest::addRow("a long line sent again and again")
            << u"var x a\n"_qs + times(u"var x %x%x\n", 19) + u"loop:\nput %x\ngoto loop"_qs
            << "step-limit";
        QTest::addRow("straight lines are no loop") << times(u"echo hi\n", 10005) << "ended";
    }
    void hostileScriptsEnd()
    {
        QFETCH(QString, script);
        QFETCH(QString, finding);
        const RunProgram program(script, Dialect::Modern);
        LineSource source;
        ScriptRunner runner(program, {}, source);
        QCOMPARE(runner.run(), ScriptRunner::Outcome::Finished);
        QCOMPARE(runFindingName(runner.finding()->kind), finding);
    }
    // Real scripts against no game text and against random game-like lines: every run ends
    // with a finding, none hangs.
    void realScriptsEndCleanly()
    {
        KORVETH_CORPUS_OR_SKIP(corpus);
        QRandomGenerator random(5);
        const QStringList words{"You",
                                "see",
                                "a",
                                "rat",
                                "goblin",
                                "Obvious",
                                "exits:",
                                "north",
                                "Roundtime:",
                                "3",
                                "hit",
                                "miss",
                                "killed",
                                "ready",
                                ">"};
        QStringList game;
        for (int i = 0; i < 2000; ++i) {
            QStringList line;
            for (int n = random.bounded(1, 8); n > 0; --n)
                line.append(words[random.bounded(int(words.size()))]);
            game.append(line.join(u' '));
        }
        int runs = 0;
        QDirIterator it(corpus,
                        {u"*.cmd"_qs, u"*.wiz"_qs, u"*.CMD"_qs},
                        QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (bool withGame : {false, true}) {
                for (Dialect dialect : {Dialect::Classic, Dialect::Modern}) {
                    const RunProgram program(text, dialect);
                    LineSource source(withGame ? game : QStringList());
                    RunOptions options;
                    options.dialect = dialect;
                    options.maxSteps = 20000;
                    options.stopOnUnknown = false;
                    ScriptRunner runner(program, options, source);
                    QCOMPARE(runner.run(), ScriptRunner::Outcome::Finished);
                    QVERIFY(runner.finding().has_value());
                    ++runs;
                }
            }
        }
        QVERIFY(runs > 1000);
    }
};

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
