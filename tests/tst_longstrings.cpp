#include "LongStrings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <functional>

using namespace Korveth;

// The language server's reading of long strings out of a message, apart from the server.
class TestLongStrings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A document's text is taken out of its message before the JSON reader sees it; it must
    // come out as the reader would have made it, and a string the reader would refuse stays for
    // the reader to refuse.
    void longStringsReadAsTheJsonReaderReadsThem_data()
    {
        QTest::addColumn<QByteArray>("body");
        // Written as plain literals: moc cannot read raw strings with escaped quotes.
        QTest::addRow("escapes") << QByteArray(
            "{\"text\":\"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t e\",\"n\":1}");
        QTest::addRow("units and pairs")
            << QByteArray("{\"text\":\"\\u00e9\\u00C9 \\ud83d\\ude00 x\"}");
        QTest::addRow("UTF-8") << QByteArray(
            "{\"text\":\"gr\xc3\xbc\xc3\x9f \xf0\x9f\x98\x80 long enough\"}");
        QTest::addRow("backslashes before a quote")
            << QByteArray("{\"a\":\"x\\\\\\\\\",\"text\":\"y\\\\\\\" still\\\\\"}");
        QTest::addRow("in an array")
            << QByteArray("{\"c\":[{\"text\":\"one\\r\\ntwo\"},{\"text\":\"3\"}]}");
        QTest::addRow("a long name") << QByteArray("{\"a long name\":\"value\", \"text\" : \"x\"}");
        QTest::addRow("bad escape") << QByteArray("{\"text\":\"bad \\q escape\"}");
        QTest::addRow("short unit") << QByteArray("{\"text\":\"bad \\u12\"}");
        QTest::addRow("unclosed") << QByteArray("{\"text\":\"never closed");
    }
    void longStringsReadAsTheJsonReaderReadsThem()
    {
        QFETCH(QByteArray, body);
        LongStrings strings(4);
        QJsonParseError expectedError, error;
        const QJsonDocument expected = QJsonDocument::fromJson(body, &expectedError);
        const QJsonDocument lifted = QJsonDocument::fromJson(strings.lift(body), &error);
        QCOMPARE(error.error != QJsonParseError::NoError,
                 expectedError.error != QJsonParseError::NoError);
        auto texts = [&](const QJsonDocument &json, auto read) {
            QStringList found;
            std::function<void(const QJsonValue &)> walk = [&](const QJsonValue &v) {
                if (v.isString())
                    found.append(read(v));
                for (const QJsonValue &item : v.toArray())
                    walk(item);
                for (const QJsonValue &member : v.toObject())
                    walk(member);
            };
            walk(json.object());
            return found;
        };
        QCOMPARE(texts(lifted, [&](const QJsonValue &v) { return strings.textOf(v); }),
                 texts(expected, [](const QJsonValue &v) { return v.toString(); }));
    }
};

QTEST_APPLESS_MAIN(TestLongStrings)
#include "tst_longstrings.moc"
