#include "CheckRun.h"
#include "RecordingReport.h"
#include "ScriptChecker.h"

#include <QTest>

using namespace Korveth;
using namespace Qt::StringLiterals;

class TestScriptChecker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verdicts_data();
    void verdicts();
    void reportLineColours();
    void errorLinesAreCountedAndListed();
    void matchPastThirtyTwo_data();
    void matchPastThirtyTwo();
    void matchCountResetsAtMatchwait();
    void runCountsLinesAndWritesSummary_data();
    void runCountsLinesAndWritesSummary();
    void runHandlesMoreThan32767Lines();
    void hostileLinesGetVerdicts_data();
    void hostileLinesGetVerdicts();
};

// Each row: the line under check, the script text the label search reads (the line alone when
// empty), and the expected first verdict.
void TestScriptChecker::verdicts_data()
{
    // clang-format off
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("verdict");

    // Plain commands, any letter case.
    QTest::newRow("put") << "put hello" << "" << "Put Command recognised.";
    QTest::newRow("PUT upper") << "PUT hello" << "" << "Put Command recognised.";
    QTest::newRow("Put mixed") << "Put hello" << "" << "Put Command recognised.";
    QTest::newRow("put hash is put") << "put #1" << "" << "Put Command recognised.";
    QTest::newRow("put colon end is put") << "put x:" << "" << "Put Command recognised.";
    QTest::newRow("echo") << "echo # hi" << "" << "Echo Command recognised.";
    QTest::newRow("exit") << "exit" << "" << "Exit Command recognised.";
    QTest::newRow("matchwait") << "matchwait" << "" << "Matchwait Command recognised.";
    QTest::newRow("move") << "move north" << "" << "Move Command recognised.";
    QTest::newRow("pause") << "pause 1" << "" << "Pause Command recognised.";
    QTest::newRow("shift") << "shift" << "" << "Shift Command recognised.";
    QTest::newRow("wait") << "wait" << "" << "Wait Command recognised.";
    QTest::newRow("trimmed by checker") << " \t put x \t" << "" << "Put Command recognised.";
    QTest::newRow("nextroom not a command") << "nextroom" << "" << "Command not recognised.";
    QTest::newRow("one character") << "x" << "" << "Command not recognised.";
    QTest::newRow("put TAB hello") << "put\thello" << "" << "Command not recognised.";
    QTest::newRow("put TAB hello colon") << "put\thello:" << "" << "Label recognised.";
    QTest::newRow("put TAB hash") << "put\t#x" << "" << "Comment recognised.";

    // counter
    QTest::newRow("counter alone") << "counter" << ""
                                   << "Counter Command recognised. Set/Add/Subtract missing.";
    QTest::newRow("counter two spaces") << "counter  set 5" << ""
                                        << "Counter Command recognised. Set/Add/Subtract missing.";
    QTest::newRow("counter bogus") << "counter multiply 2" << ""
                                   << "Counter Command recognised. Set/Add/Subtract missing.";
    QTest::newRow("counter add") << "counter add" << ""
                                 << "Counter Add Command recognised. Variable missing.";
    QTest::newRow("counter add 1") << "counter add 1" << ""
                                   << "Counter Add Command recognised. Variable defined.";
    QTest::newRow("counter set 5") << "COUNTER Set 5" << ""
                                   << "Counter Set Command recognised. Variable defined.";
    QTest::newRow("counter set  5") << "counter set  5" << ""
                                    << "Counter Set Command recognised. Variable missing.";
    QTest::newRow("counter subtract") << "counter subtract" << ""
                                      << "Counter Subtract Command recognised. Variable missing.";
    QTest::newRow("counter subtract 2") << "counter subtract 2" << ""
                                        << "Counter Subtract Command recognised. Variable defined.";

    // if
    QTest::newRow("if_1") << "if_1 put hello" << "" << "If_1 Command recognised.";
    QTest::newRow("IF_9") << "IF_9" << "" << "If_9 Command recognised.";
    QTest::newRow("if_0") << "if_0 goto x" << "" << "If_0 Command recognised.";
    QTest::newRow("if_") << "if_ put x" << "" << "If_ Command missing integer. Ex. If_1.";
    QTest::newRow("if") << "if x" << "" << "If Command missing integer. Ex. If_1.";
    QTest::newRow("if_10") << "if_10 put hello" << "" << "Command not recognised.";
    QTest::newRow("if1") << "if1" << "" << "Command not recognised.";
    QTest::newRow("if_10 with hash") << "if_10 #x" << "" << "Comment recognised.";
    QTest::newRow("if1 colon") << "if1:" << "" << "Label recognised.";

    // save and waitfor
    QTest::newRow("save text") << "save %s" << "" << "Save Command recognised. Variable defined.";
    QTest::newRow("save alone") << "save" << "" << "Save Command recognised. Variable missing.";
    QTest::newRow("save spaces") << "save   " << "" << "Save Command recognised. Variable missing.";
    QTest::newRow("save save") << "save save" << "" << "Save Command recognised. Variable missing.";
    QTest::newRow("save SaVe save") << "save SaVe  save" << ""
                                    << "Save Command recognised. Variable missing.";
    QTest::newRow("save tab") << "save \tx" << "" << "Save Command recognised. Variable defined.";
    QTest::newRow("waitfor text") << "waitfor You see" << ""
                                  << "Waitfor Command recognised. Trigger text present.";
    QTest::newRow("waitfor alone") << "waitfor" << ""
                                   << "Waitfor Command recognised. Trigger text missing.";
    QTest::newRow("waitfor waitfor") << "waitfor WAITFOR" << ""
                                     << "Waitfor Command recognised. Trigger text missing.";

    // goto: plain substring search of NAME: over the whole upper-cased text
    QTest::newRow("goto found") << "goto start" << "start:\r\ngoto start"
                                << "Goto Command recognised. Label found.";
    QTest::newRow("goto case") << "GoTo Start" << "start:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto restart") << "goto start" << "restart:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto later line") << "goto end" << "goto end\r\nput x\r\nend:"
                                     << "Goto Command recognised. Label found.";
    QTest::newRow("goto not found") << "goto nowhere" << "start:"
                                    << "Goto Command recognised. Label not found.";
    QTest::newRow("goto spaces joined") << "goto loop one" << "loopone:"
                                        << "Goto Command recognised. Label found.";
    QTest::newRow("goto gotoend") << "goto gotoend" << "end:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto alone, colon") << "goto" << "a:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto alone, no colon") << "goto" << "" << "Goto Command recognised. Label not found.";
    QTest::newRow("goto %1") << "goto %1" << "" << "Goto Command recognised. Variable as label.";
    QTest::newRow("goto %1 defined") << "goto %1" << "%1:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto label inside text") << "goto x" << "put x: y"
                                            << "Goto Command recognised. Label found.";
    QTest::newRow("goto name with colon") << "goto a:b" << "a:b:" << "Goto Command recognised. Label found.";
    QTest::newRow("goto name with colon absent") << "goto a:b" << "a:bc:"
                                                 << "Goto Command recognised. Label not found.";
    QTest::newRow("goto label across line break") << "goto b" << "a\r\nb:"
                                                  << "Goto Command recognised. Label found.";
    QTest::newRow("goto name is not across break") << "goto ab" << "a\r\nb:"
                                                   << "Goto Command recognised. Label not found.";

    // match
    QTest::newRow("match one space") << "match start" << "start:"
                                     << "Match Command recognised. Trigger Text or Label Name missing.";
    QTest::newRow("match found") << "match start You see" << "start:"
                                 << "Match Command recognised. Label found.";
    QTest::newRow("match not found") << "match start You see" << "begin:"
                                     << "Match Command recognised. Label not found.";
    QTest::newRow("match two spaces, colon") << "match  start go" << "x:"
                                             << "Match Command recognised. Label found.";
    QTest::newRow("match two spaces, no colon") << "match  start go" << ""
                                                << "Match Command recognised. Label not found.";
    QTest::newRow("match %1") << "match %1 text" << "" << "Match Command recognised. Variable as label.";
    QTest::newRow("match case") << "MATCH Start x" << "START:" << "Match Command recognised. Label found.";

    // labels and comments
    QTest::newRow("label") << "start:" << "" << "Label recognised.";
    QTest::newRow("colon alone") << ":" << "" << "Label recognised.";
    QTest::newRow("a:b") << "a:b" << "" << "Label recognised.";
    QTest::newRow("abc:de") << "abc:de" << "" << "Command not recognised.";
    QTest::newRow("hash label") << "# heading:" << "" << "Label recognised.";
    QTest::newRow("comment") << "## comment" << "" << "Comment recognised.";
    QTest::newRow("script name comment") << "#ScriptName" << "" << "Comment recognised.";
    // clang-format on
}

void TestScriptChecker::verdicts()
{
    QFETCH(QString, line);
    QFETCH(QString, script);
    QFETCH(QString, verdict);

    ScriptChecker checker(script.isEmpty() ? line : script);
    const LineVerdicts result = checker.judge(line);
    QVERIFY(result.first.has_value());
    QCOMPARE(result.first->message.toString(), verdict);
    QVERIFY(!result.second.has_value());

    const bool isError = verdict.contains(u"not ") || verdict.contains(u"missing");
    QCOMPARE(result.first->error, isError);
}

void TestScriptChecker::reportLineColours()
{
    ScriptChecker checker(u"goto start\r\nstart:");
    RecordingReport report;
    checker.ScriptCheck(u"  goto start ", report);
    checker.ScriptCheck(u"blah", report);
    checker.ScriptCheck(u" \t ", report);

    QCOMPARE(report.plain,
             u"goto start - Goto Command recognised. Label found.\r\n"
             u"blah - Command not recognised.\r\n"
             u"\r\n");
    QCOMPARE(report.colored(ReportColor::Accepted),
             u" - Goto Command recognised. Label found.\r\n");
    QCOMPARE(report.colored(ReportColor::Error), u" - Command not recognised.\r\n");
    QCOMPARE(report.colored(ReportColor::Black), u"goto startblah\r\n");
    QCOMPARE(report.color, ReportColor::Black);
}

void TestScriptChecker::errorLinesAreCountedAndListed()
{
    ScriptChecker checker(u"");
    RecordingReport report;
    for (QStringView line : {u"put a", u"  bogus  ", u"exit", u"goto nowhere", u"", u"echo"})
        checker.ScriptCheck(line, report);
    QCOMPARE(checker.ErrorCount, 2);
    QCOMPARE(checker.ScriptErrors, QStringList({"bogus", "goto nowhere"}));
}

void TestScriptChecker::matchPastThirtyTwo_data()
{
    // clang-format off
    QTest::addColumn<QString>("lastMatch");
    QTest::addColumn<bool>("second");
    QTest::addColumn<int>("errorsOfLastLine");

    QTest::newRow("label not found") << "match nowhere x" << true << 2;
    QTest::newRow("label found") << "match found x" << false << 0;
    QTest::newRow("variable as label") << "match %1 x" << true << 1;
    QTest::newRow("trigger missing") << "match nowhere" << false << 1;
    // clang-format on
}

// The 33rd match line since the run began draws the second verdict on the paths that reach it.
void TestScriptChecker::matchPastThirtyTwo()
{
    QFETCH(QString, lastMatch);
    QFETCH(bool, second);
    QFETCH(int, errorsOfLastLine);

    ScriptChecker checker(u"found:");
    RecordingReport report;
    for (int i = 0; i < 32; ++i)
        checker.ScriptCheck(u"match found x", report);
    QCOMPARE(checker.ErrorCount, 0);

    RecordingReport last;
    checker.ScriptCheck(lastMatch, last);
    QCOMPARE(checker.MatchCount, 33);
    QCOMPARE(checker.ErrorCount, errorsOfLastLine);
    QCOMPARE(last.plain.endsWith(u"*** More than 32 Matches, Possible missing MatchWait/Too many "
                                 u"matches issued. ***\r\n"),
             second);
    if (second) {
        // The second verdict stands on its own line, red, without the line text or " - ".
        QVERIFY(last.pieces.last().second == u"\r\n");
        QCOMPARE(last.pieces.at(last.pieces.size() - 2).first, ReportColor::Error);
        QCOMPARE(checker.ScriptErrors.count(lastMatch), errorsOfLastLine);
    }
}

void TestScriptChecker::matchCountResetsAtMatchwait()
{
    ScriptChecker checker(u"");
    RecordingReport report;
    for (int i = 0; i < 40; ++i)
        checker.ScriptCheck(u"match a b", report);
    QCOMPARE(checker.ErrorCount, 40 + 8);
    checker.ScriptCheck(u"MATCHWAIT", report);
    QCOMPARE(checker.MatchCount, 0);
    for (int i = 0; i < 32; ++i)
        checker.ScriptCheck(u"match a b", report);
    QCOMPARE(checker.ErrorCount, 48 + 32);
}

void TestScriptChecker::runCountsLinesAndWritesSummary_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("report");

    QTest::newRow("empty text") << "" << 0 << 0 << "";
    QTest::newRow("ends with CR LF") << "put a\r\nexit\r\n" << 3 << 0
                                     << "put a - Put Command recognised.\r\n"
                                        "exit - Exit Command recognised.\r\n\r\n";
    QTest::newRow("lone LF is not a line end")
        << "put a\nexit" << 1 << 0 << "put a\nexit - Put Command recognised.\r\n";
    QTest::newRow("errors") << "bogus\r\ngoto x\r\nx:" << 3 << 1
                            << "bogus - Command not recognised.\r\n"
                               "goto x - Goto Command recognised. Label found.\r\n"
                               "x: - Label recognised.\r\n";
    // clang-format on
}

void TestScriptChecker::runCountsLinesAndWritesSummary()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(int, errors);
    QFETCH(QString, report);

    ScriptChecker checker(text);
    RecordingReport sink;
    QList<int> progress;
    const CheckSummary summary = runCheck(text, checker, sink, [&](int i) { progress.append(i); });
    QCOMPARE(summary.lineCount, lines);
    QCOMPARE(summary.errorCount, errors);
    QCOMPARE(sink.plain, report);
    QCOMPARE(progress.size(), lines);
    if (lines > 0)
        QCOMPARE(progress.last(), lines - 1);

    RecordingReport summaryBox;
    writeSummary(summary, summaryBox);
    QCOMPARE(summaryBox.plain, QString("%1 Lines.\r\n%2 Warning(s).").arg(lines).arg(errors));
    QCOMPARE(summaryBox.colored(ReportColor::Error), QString("%1 Warning(s).").arg(errors));
}

void TestScriptChecker::runHandlesMoreThan32767Lines()
{
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += u"bogus\r\n";
    ScriptChecker checker(text);
    RecordingReport sink;
    const CheckSummary summary = runCheck(text, checker, sink);
    QCOMPARE(summary.lineCount, 40001);
    QCOMPARE(summary.errorCount, 40000);
}

void TestScriptChecker::hostileLinesGetVerdicts_data()
{
    // clang-format off
    QTest::addColumn<QString>("line");
    QTest::newRow("NUL bytes") << QString(u"put \0x\0"_s);
    QTest::newRow("long line") << QString(3'000'000, u'x');
    QTest::newRow("many colons") << QString(200'000, u':');
    QTest::newRow("long goto") << (u"goto "_s + QString(500'000, u'q'));
    QTest::newRow("long match") << (u"match "_s + QString(500'000, u'%') + u" x"_s);
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u"put"_s;
    QTest::newRow("long s upper-cases to S") << QString(u"\u017Fave x"_s);
    // clang-format on
}

void TestScriptChecker::hostileLinesGetVerdicts()
{
    QFETCH(QString, line);
    ScriptChecker checker(line + u"\r\n"_s + line);
    const LineVerdicts result = checker.judge(line);
    QVERIFY(result.first.has_value());
    QVERIFY(!result.first->message.isEmpty());
}

QTEST_APPLESS_MAIN(TestScriptChecker)
#include "tst_scriptchecker.moc"
