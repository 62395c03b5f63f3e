#include "ScriptLanguage.h"

#include <QTest>

using namespace Korveth;

Q_DECLARE_METATYPE(Korveth::LineKind)

class TestScriptLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimmer_data()
    {
        // clang-format off
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<int>("leading");

        QTest::newRow("spaces and tabs") << " \t put x \t " << "put x" << 3;
        QTest::newRow("blanks only") << " \t\t " << "" << 4;
        QTest::newRow("inner blanks kept") << "put  a\tb" << "put  a\tb" << 0;
        QTest::newRow("line breaks are not blanks") << "\r\nput\n" << "\r\nput\n" << 0;
        QTest::newRow("other white space kept") << "\u00A0put\u00A0" << "\u00A0put\u00A0" << 0;
        QTest::newRow("empty") << "" << "" << 0;
        // clang-format on
    }
    void trimmer()
    {
        QFETCH(QString, input);
        QFETCH(QString, trimmed);
        QFETCH(int, leading);

        QCOMPARE(trimmedView(input).toString(), trimmed);
        QCOMPARE(leadingBlankCount(input), leading);
        QString argument = input;
        QCOMPARE(Trimmer(argument), trimmed);
        QCOMPARE(argument, trimmed);
    }
    void words_data()
    {
        // clang-format off
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("single spaces") << "counter set 5" << QStringList{"counter", "set", "5"};
        QTest::newRow("two spaces give an empty word")
            << "counter  set 5" << QStringList{"counter", "", "set", "5"};
        QTest::newRow("tab does not divide") << "put\thello" << QStringList{"put\thello"};
        QTest::newRow("trailing space") << "save " << QStringList{"save", ""};
        // clang-format on
    }
    void words()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);

        QStringList got;
        for (QStringView w : splitWords(line))
            got.append(w.toString());
        QCOMPARE(got, words);
        for (int i = 0; i < words.size() + 2; ++i)
            QCOMPARE(wordAt(line, i).toString(), words.value(i));
    }
    void kinds_data()
    {
        // clang-format off
        QTest::addColumn<QString>("line");
        QTest::addColumn<LineKind>("kind");

        QTest::newRow("empty") << "" << LineKind::Empty;
        QTest::newRow("command") << "put x" << LineKind::Command;
        QTest::newRow("command before label") << "put x:" << LineKind::Command;
        QTest::newRow("command before comment") << "put #1" << LineKind::Command;
        QTest::newRow("malformed if is a command word") << "if_ x" << LineKind::Command;
        QTest::newRow("if_10 is not") << "if_10 x" << LineKind::Other;
        QTest::newRow("label") << "start:" << LineKind::Label;
        QTest::newRow("label second to last") << "a:b" << LineKind::Label;
        QTest::newRow("colon too early") << "abc:de" << LineKind::Other;
        QTest::newRow("label before comment") << "# note:" << LineKind::Label;
        QTest::newRow("comment") << "x # y" << LineKind::Comment;
        QTest::newRow("nextroom") << "nextroom" << LineKind::Other;
        QTest::newRow("tab joins word") << "put\thello" << LineKind::Other;
        // clang-format on
    }
    void kinds()
    {
        QFETCH(QString, line);
        QFETCH(LineKind, kind);
        QCOMPARE(lineKind(line), kind);
    }
    void splitAtCrLf_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("ends with CR LF") << "put a\r\nexit\r\n" << QStringList{"put a", "exit", ""};
        QTest::newRow("lone LF") << "put a\nexit" << QStringList{"put a\nexit"};
        QTest::newRow("lone CR") << "a\rb\r\n" << QStringList{"a\rb", ""};
        QTest::newRow("CR CR LF") << "a\r\r\nb" << QStringList{"a\r", "b"};
        // clang-format on
    }
    void splitAtCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QStringList got;
        for (QStringView l : Korveth::splitAtCrLf(text))
            got.append(l.toString());
        QCOMPARE(got, lines);
    }
    void splitEditorLines_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("joined");

        QTest::newRow("empty") << "" << QStringList{} << "";
        QTest::newRow("no line end") << "put a" << QStringList{"put a"} << "put a";
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b", ""} << "a\r\nb\r\n";
        QTest::newRow("CR") << "a\rb" << QStringList{"a", "b"} << "a\r\nb";
        QTest::newRow("mixed") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"}
                               << "a\r\nb\r\nc\r\nd";
        QTest::newRow("LF CR is two") << "a\n\rb" << QStringList{"a", "", "b"} << "a\r\n\r\nb";
        QTest::newRow("only a line end") << "\r\n" << QStringList{"", ""} << "\r\n";
        // clang-format on
    }
    void splitEditorLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QFETCH(QString, joined);
        const QList<QStringView> views = Korveth::splitEditorLines(text);
        QStringList got;
        for (QStringView l : views)
            got.append(l.toString());
        QCOMPARE(got, lines);
        QCOMPARE(joinWithCrLf(views), joined);
    }
};

QTEST_APPLESS_MAIN(TestScriptLanguage)
#include "tst_scriptlanguage.moc"
