#include "CaseTable.h"
#include "ScriptLanguage.h"

#include <QTest>

using namespace Korveth;

namespace {

// Lines as the tables write them: each in brackets, so that an empty line shows.
QString bracketed(const QList<QStringView> &lines)
{
    QString text;
    for (QStringView line : lines)
        text += u'[' + line.toString() + u']';
    return text;
}

} // namespace

class TestScriptLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimmer_data() { CaseTable::load(QStringLiteral("language-cases/trimming.tsv")); }
    void trimmer()
    {
        QFETCH(QString, input);
        QFETCH(QString, trimmed);
        QFETCH(QString, leading);
        QCOMPARE(trimmedView(input).toString(), trimmed);
        QCOMPARE(leadingBlankCount(input), leading.toInt());
        QString argument = input;
        QCOMPARE(Trimmer(argument), trimmed);
        QCOMPARE(argument, trimmed);
    }
    void words_data() { CaseTable::load(QStringLiteral("language-cases/words.tsv")); }
    void words()
    {
        QFETCH(QString, line);
        QFETCH(QString, words);
        const QList<QStringView> split = splitWords(line);
        QCOMPARE(bracketed(split), words);
        for (int i = 0; i < split.size() + 2; ++i)
            QCOMPARE(wordAt(line, i), split.value(i));
    }
    void kinds_data() { CaseTable::load(QStringLiteral("language-cases/line-kinds.tsv")); }
    void kinds()
    {
        QFETCH(QString, line);
        QFETCH(QString, kind);
        const QStringList kinds{"Empty", "Command", "Label", "Comment", "Other"}; // enum order
        QCOMPARE(kinds.value(int(lineKind(line))), kind);
    }
    void splitAtCrLf_data() { CaseTable::load(QStringLiteral("language-cases/crlf-lines.tsv")); }
    void splitAtCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        QCOMPARE(bracketed(Korveth::splitAtCrLf(text)), lines);
    }
    void splitEditorLines_data()
    {
        CaseTable::load(QStringLiteral("language-cases/editor-lines.tsv"));
    }
    void splitEditorLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        QFETCH(QString, joined);
        const QList<QStringView> views = Korveth::splitEditorLines(text);
        QCOMPARE(bracketed(views), lines);
        QCOMPARE(joinWithCrLf(views), joined);
    }
};

QTEST_APPLESS_MAIN(TestScriptLanguage)
#include "tst_scriptlanguage.moc"
