#include "CaseTable.h"
#include "LanguageDefinition.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStringDecoder>
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
    // Each row: a line, and what each of its bytes is painted as.
    void styling_data() { CaseTable::load(QStringLiteral("colouring-cases.tsv")); }
    void styling()
    {
        QFETCH(QString, text);
        QFETCH(QString, styles);
        const QByteArray line = text.toUtf8();

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
        QCOMPARE(painted, styles.toLatin1());
        // The grammar other editors colour with must agree with the lexer.
        QCOMPARE(paintedByGrammar(line), styles.toLatin1());
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
        // As the engine sees it: a byte-order mark at the start is a character like any other,
        // and a character outside the BMP is one character (two UTF-16 units here).
        QStringDecoder decode(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
        const QString line = decode(utf8);
        auto width = [&](qsizetype i) {
            return line[i].isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        };
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
            at = qMax(best.capturedEnd(), best.capturedStart() + width(best.capturedStart()));
        }
        QByteArray byByte;
        for (qsizetype i = 0; i < line.size(); i += width(i))
            byByte += QByteArray(QStringView(line).sliced(i, width(i)).toUtf8().size(), byChar[i]);
        return byByte;
    }
};

QTEST_APPLESS_MAIN(TestLanguageDefinition)
#include "tst_languagedefinition.moc"
