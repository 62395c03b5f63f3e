#include "CommandReference.h"

#include <QTest>

using namespace Korveth;

class TestCommandReference : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every entry can be shown: a syntax in braces and at least one line of text.
    void entriesCanBeShown()
    {
        for (const ReferenceEntry &entry : commandReference()) {
            QVERIFY(!entry.textLines.empty());
            QVERIFY(entry.syntax.startsWith(u'{') && entry.syntax.endsWith(u'}'));
        }
    }
    void lookup_data()
    {
        // clang-format off
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("title");

        using O = ReferenceLookup::Outcome;
        QTest::newRow("goto in a verdict") << "Goto" << int(O::Found) << "goto";
        QTest::newRow("spaces trimmed") << "  put " << int(O::Found) << "put";
        QTest::newRow("%c") << "%c" << int(O::Found) << "counter variable";
        QTest::newRow("%s") << "%S" << int(O::Found) << "save variable";
        QTest::newRow("counter add") << "Counter Add" << int(O::Found) << "counter add";
        QTest::newRow("counter  add") << "counter  add" << int(O::NotFound) << "";
        QTest::newRow("counter alone") << "counter" << int(O::NotFound) << "";
        QTest::newRow("nextroom") << "nextroom" << int(O::Found) << "nextroom";
        QTest::newRow("if_1") << "if_1" << int(O::NotFound) << "";
        QTest::newRow("%1") << "%1" << int(O::NotFound) << "";
        QTest::newRow("tab not trimmed") << "\tput" << int(O::NotFound) << "";
        QTest::newRow("line break not trimmed") << "put\r\n" << int(O::NotFound) << "";
        QTest::newRow("spaces only") << "   " << int(O::NotFound) << "";
        QTest::newRow("nothing selected") << "" << int(O::NothingSelected) << "";
        // clang-format on
    }
    void lookup()
    {
        QFETCH(QString, selection);
        QFETCH(int, outcome);
        QFETCH(QString, title);

        const ReferenceLookup result = lookupReference(selection);
        QCOMPARE(int(result.outcome), outcome);
        if (result.outcome == ReferenceLookup::Outcome::Found)
            QCOMPARE(result.entry->title.toString(), title);
        if (result.outcome == ReferenceLookup::Outcome::NotFound)
            QCOMPARE(result.selection, selection); // shown exactly as selected
    }
};

QTEST_APPLESS_MAIN(TestCommandReference)
#include "tst_commandreference.moc"
