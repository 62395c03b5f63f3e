#include "CaseTable.h"
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
    // The first verdict of a line, from the table: the line, the script text the label search reads
    // (the line alone when empty), and the verdict.
    void verdicts_data() { CaseTable::load(QStringLiteral("checker-cases/verdicts-classic.tsv")); }
    void verdicts()
    {
        QFETCH(QString, line);
        QFETCH(QString, script);
        QFETCH(QString, verdict);

        ScriptChecker checker(script.isEmpty() ? line : script);
        const LineVerdicts result = checker.judge(line);
        QVERIFY(result.first.has_value());
        QCOMPARE(result.first->message().toString(), verdict);
        QVERIFY(!result.second.has_value());

        const bool isError = verdict.contains(u"not ") || verdict.contains(u"missing");
        QCOMPARE(result.first->error(), isError);
    }
    void reportLineColours()
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
    void errorLinesAreCountedAndListed()
    {
        ScriptChecker checker(u"");
        RecordingReport report;
        for (QStringView line : {u"put a", u"  bogus  ", u"exit", u"goto nowhere", u"", u"echo"})
            checker.ScriptCheck(line, report);
        QCOMPARE(checker.ErrorCount, 2);
        QCOMPARE(checker.ScriptErrors, QStringList({"bogus", "goto nowhere"}));
    }
    void matchPastThirtyTwo_data()
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
    void matchPastThirtyTwo()
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
        QCOMPARE(
            last.plain.endsWith(u"*** More than 32 Matches, Possible missing MatchWait/Too many "
                                u"matches issued. ***\r\n"),
            second);
        if (second) {
            // The second verdict stands on its own line, red, without the line text or " - ".
            QVERIFY(last.pieces.last().second == u"\r\n");
            QCOMPARE(last.pieces.at(last.pieces.size() - 2).first, ReportColor::Error);
            QCOMPARE(checker.ScriptErrors.count(lastMatch), errorsOfLastLine);
        }
    }
    void matchCountResetsAtMatchwait()
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
    void runCountsLinesAndWritesSummary_data()
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
    void runCountsLinesAndWritesSummary()
    {
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(int, errors);
        QFETCH(QString, report);

        ScriptChecker checker(text);
        RecordingReport sink;
        QList<int> progress;
        const CheckSummary summary
            = runCheck(text, checker, sink, [&](int i) { progress.append(i); });
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
    void runHandlesMoreThan32767Lines()
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
    void hostileLinesGetVerdicts_data()
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
    void hostileLinesGetVerdicts()
    {
        QFETCH(QString, line);
        ScriptChecker checker(line + u"\r\n"_s + line);
        const LineVerdicts result = checker.judge(line);
        QVERIFY(result.first.has_value());
        QVERIFY(!result.first->message().isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestScriptChecker)
#include "tst_scriptchecker.moc"
