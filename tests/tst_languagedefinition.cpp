#include "LanguageDefinition.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace Korveth;

class TestLanguageDefinition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registrationNamesTheLanguage()
    {
        LanguageRegistry registry;
        QVERIFY(!registry.find(QStringLiteral("Perl")));
        RegisterScriptLanguage(registry);
        QVERIFY(registry.find(QStringLiteral("Perl")));
    }
    // Each row: a line, and what each of its characters is painted as:
    // . default, K keyword, O operator, C comment.
    void styling_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("styles");

        QTest::newRow("put") << QByteArray("put hello") << QByteArray("KKK......");
        QTest::newRow("any case") << QByteArray("PUT Put") << QByteArray("KKK.KKK");
        QTest::newRow("counter add") << QByteArray("counter add 1") << QByteArray("KKKKKKKKKKK..");
        QTest::newRow("counter subtract") << QByteArray("counter subtract") << QByteArray("KKKKKKK.........");
        QTest::newRow("counter  add") << QByteArray("counter  add") << QByteArray("KKKKKKK.....");
        QTest::newRow("not inside a word") << QByteArray("putty output") << QByteArray("............");
        QTest::newRow("labelerror:") << QByteArray("LabelError:") << QByteArray("KKKKKKKKKKK");
        QTest::newRow("labelerror without colon") << QByteArray("labelerror") << QByteArray("..........");
        QTest::newRow("if_ forms") << QByteArray("if_ if_3 if_10") << QByteArray("KKK.KKKK......");
        QTest::newRow("nextroom") << QByteArray("nextroom") << QByteArray("KKKKKKKK");
        QTest::newRow("variables") << QByteArray("put %1 %s %C %x") << QByteArray("KKK.OO.OO.OO.O.");
        QTest::newRow("comment") << QByteArray("put x # move on") << QByteArray("KKK...CCCCCCCCC");
        QTest::newRow("comment at start") << QByteArray("#ScriptName") << QByteArray("CCCCCCCCCCC");
        QTest::newRow("non-ASCII word") << QByteArray("put\xC3\xA9 put") << QByteArray("......KKK");
        QTest::newRow("keywords run on") << QByteArray("waitforx wait matchwait") << QByteArray(".........KKKK.KKKKKKKKK");
        QTest::newRow("after a colon") << QByteArray("labelerror:goto x") << QByteArray("KKKKKKKKKKKKKKK..");
        QTest::newRow("after a variable") << QByteArray("%cat %1put") << QByteArray("OO...OO...");
        QTest::newRow("modern words stay plain") << QByteArray("gosub x # if") << QByteArray("........CCCC");
        // clang-format on
    }
    void styling()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, styles);

        LanguageRegistry registry;
        RegisterScriptLanguage(registry);
        const LanguageTokenizer tokenizer(*registry.find(QStringLiteral("Perl")));
        QByteArray painted(line.size(), '.');
        for (const StyledSpan &span : tokenizer.styleLine(line)) {
            const char mark = span.style == TokenStyle::Keyword    ? 'K'
                              : span.style == TokenStyle::Operator ? 'O'
                              : span.style == TokenStyle::Comment  ? 'C'
                                                                   : '.';
            for (qsizetype i = span.start; i < span.start + span.length; ++i)
                painted[i] = mark;
        }
        QCOMPARE(painted, styles);
        // The grammar other editors colour with must agree with the lexer.
        QCOMPARE(paintedByGrammar(line), styles);
    }

private:
    // Paints a line with the TextMate grammar of the editor extension as a TextMate engine does
    // with single-line patterns: at each step the earliest match wins, the first pattern on a tie.
    static QByteArray paintedByGrammar(const QByteArray &utf8)
    {
        QFile file(
            QStringLiteral(KORVETH_SOURCE_DIR "/editors/vscode/syntaxes/korveth.tmLanguage.json"));
        if (!file.open(QIODevice::ReadOnly))
            return "no grammar";
        struct Pattern
        {
            QRegularExpression match;
            char mark;
        };
        QList<Pattern> patterns;
        for (const QJsonValue &value :
             QJsonDocument::fromJson(file.readAll())["patterns"].toArray()) {
            const QString scope = value["name"].toString();
            patterns.append({QRegularExpression(value["match"].toString()),
                             scope.startsWith(u"comment")   ? 'C'
                             : scope.startsWith(u"keyword") ? 'K'
                                                            : 'O'});
            if (!patterns.last().match.isValid())
                return "bad pattern";
        }
        const QString line = QString::fromUtf8(utf8);
        QByteArray byChar(line.size(), '.');
        for (qsizetype at = 0; at < line.size();) {
            QRegularExpressionMatch best;
            char mark = '.';
            for (const Pattern &pattern : patterns) {
                const QRegularExpressionMatch m = pattern.match.match(line, at);
                if (m.hasMatch()
                    && (!best.hasMatch() || m.capturedStart() < best.capturedStart())) {
                    best = m;
                    mark = pattern.mark;
                }
            }
            if (!best.hasMatch())
                break;
            for (qsizetype i = best.capturedStart(); i < best.capturedEnd(); ++i)
                byChar[i] = mark;
            at = qMax(best.capturedEnd(), best.capturedStart() + 1);
        }
        QByteArray byByte;
        for (qsizetype i = 0; i < line.size(); ++i)
            byByte += QByteArray(QStringView(line).sliced(i, 1).toUtf8().size(), byChar[i]);
        return byByte;
    }
};

QTEST_APPLESS_MAIN(TestLanguageDefinition)
#include "tst_languagedefinition.moc"
