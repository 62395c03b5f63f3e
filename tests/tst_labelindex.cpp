#include "CaseTable.h"
#include "LabelIndex.h"
#include "LabelSet.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Korveth;

class TestLabelIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Thousands of labels sharing a long ending, asked for thousands of names with that ending:
    // each answer must come from a binary search, not a scan of the text (this took minutes once).
    void craftedCommonEndingsStayFast()
    {
        const QString ending = QStringLiteral("_ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
        QString text;
        for (int i = 0; i < 5000; ++i)
            text += QStringLiteral("L%1").arg(i) + ending + QStringLiteral(":\r\n");
        const LabelIndex index(text);
        int found = 0;
        for (int i = 0; i < 40000; ++i)
            found += index.containsUpperLabel(QStringLiteral("M%1").arg(i) + ending);
        QCOMPARE(found, 0);
        QVERIFY(index.containsUpperLabel(QStringLiteral("L4999") + ending));
        QVERIFY(index.containsUpperLabel(QStringLiteral("999") + ending)); // a substring of L999...
        QVERIFY(index.containsUpperLabel(ending.mid(3)));
        QVERIFY(!index.containsUpperLabel(QStringLiteral("XL1") + ending));
        QVERIFY(index.containsUpperLabel(QStringLiteral("L1") + ending + QStringLiteral(":\r\nL2")
                                         + ending));
    }
    void quirks_data() { CaseTable::load(QStringLiteral("checker-cases/label-search.tsv")); }
    void quirks()
    {
        QFETCH(QString, text);
        QFETCH(QString, label);
        QFETCH(QString, found);
        QCOMPARE(LabelIndex(text).containsLabel(label), found == u"found");
    }
    // Random small alphabets make many near misses; the index must agree with the plain search.
    void agreesWithPlainSearch()
    {
        QRandomGenerator random(20261206);
        const QString alphabet = QStringLiteral("ab: \r\n%");
        for (int round = 0; round < 300; ++round) {
            QString text;
            const int length = random.bounded(200);
            for (int i = 0; i < length; ++i)
                text += alphabet[random.bounded(alphabet.size())];
            const LabelIndex index(text);
            for (int q = 0; q < 40; ++q) {
                QString name;
                const int nameLength = random.bounded(6);
                for (int i = 0; i < nameLength; ++i)
                    name += alphabet[random.bounded(alphabet.size())];
                const bool expected = text.toUpper().contains(name.toUpper() + u':');
                if (index.containsLabel(name) != expected)
                    QFAIL(qPrintable(QStringLiteral("text %1 name %2")
                                         .arg(QString::fromLatin1(text.toUtf8().toHex()),
                                              QString::fromLatin1(name.toUtf8().toHex()))));
            }
        }
    }
    // Long runs and names past the hashed length, taken from the text itself so that many are
    // found.
    void longNamesAgreeWithPlainSearch()
    {
        QRandomGenerator random(7);
        const QString alphabet = QStringLiteral("aab:");
        for (int round = 0; round < 60; ++round) {
            QString text;
            const int length = 200 + random.bounded(1500);
            for (int i = 0; i < length; ++i)
                text += alphabet[random.bounded(alphabet.size())];
            const LabelIndex index(text);
            for (int q = 0; q < 40; ++q) {
                const int nameLength = 100 + random.bounded(250);
                const int start = random.bounded(qMax(1, int(text.size()) - nameLength));
                QString name = text.mid(start, nameLength);
                if (q % 3 == 0 && !name.isEmpty())
                    name[random.bounded(int(name.size()))] = u'b'; // a near miss
                const bool expected = text.toUpper().contains(name.toUpper() + u':');
                QVERIFY2(index.containsLabel(name) == expected, qPrintable(name));
            }
        }
    }
    void labelSetFindsExactNames_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");

        const QStringList some{"start", "Loop1", "a:b", "\u00E9t\u00E9", "start"};
        QTest::newRow("defined") << some << "start" << true;
        QTest::newRow("case ignored") << some << "LOOP1" << true;
        QTest::newRow("not a substring") << some << "star" << false;
        QTest::newRow("not a longer name") << some << "start2" << false;
        QTest::newRow("colon inside") << some << "A:B" << true;
        QTest::newRow("non-ASCII, other case") << some << "\u00C9T\u00C9" << true;
        QTest::newRow("empty") << some << "" << false;
        QTest::newRow("nothing defined") << QStringList() << "start" << false;
        // Their keys keep the same 31 bits of hash: only their letters tell them apart.
        QTest::newRow("same hash, other name")
            << QStringList{"hunt_area_281049"} << "hunt_area_324264" << false;
    }
    void labelSetFindsExactNames()
    {
        QFETCH(QStringList, labels);
        QFETCH(QString, name);
        QFETCH(bool, found);
        LabelSet set;
        for (const QString &label : labels)
            set.add(label);
        QCOMPARE(set.contains(name), found);
        // Added after a search too: the set sorts again.
        set.add(QStringLiteral("late"));
        QVERIFY(set.contains(QStringLiteral("LATE")));
        QCOMPARE(set.contains(name), found);
        // Gathered and placed at once, among names added one by one, twice over: the same set.
        LabelSet gathered;
        for (int round = 0; round < 2; ++round) {
            for (qsizetype i = 0; i < labels.size(); ++i)
                i % 3 == round ? gathered.add(labels[i]) : gathered.defer(labels[i]);
        }
        gathered.flush();
        QCOMPARE(gathered.contains(name), found);
        QCOMPARE(gathered.size(), set.size() - 1); // all but "late"
    }
    // Thousands of names through several growths of the table, half of them twice.
    void labelSetGathersManyNames()
    {
        LabelSet set;
        for (int i = 0; i < 6000; ++i) {
            set.defer(QStringLiteral("l%1").arg(i / 2 * 2));          // short: packed until flushed
            set.defer(QStringLiteral("a_long_label_name_%1").arg(i)); // hashed: added at once
        }
        set.flush();
        QCOMPARE(set.size(), 3000 + 6000);
        for (int i = 0; i < 6000; ++i) {
            QCOMPARE(set.contains(QStringLiteral("L%1").arg(i)), i % 2 == 0);
            QVERIFY(set.contains(QStringLiteral("A_LONG_LABEL_NAME_%1").arg(i)));
        }
        QVERIFY(!set.contains(QStringLiteral("l6000")));
        QVERIFY(!set.contains(QStringLiteral("a_long_label_name_6000")));
    }
};

QTEST_APPLESS_MAIN(TestLabelIndex)
#include "tst_labelindex.moc"
