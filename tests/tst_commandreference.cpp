#include "CaseTable.h"
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
    void lookup_data() { CaseTable::load(QStringLiteral("checker-cases/reference-lookup.tsv")); }
    void lookup()
    {
        QFETCH(QString, selection);
        QFETCH(QString, outcome);
        QFETCH(QString, title);
        const ReferenceLookup result = lookupReference(selection);
        using O = ReferenceLookup::Outcome;
        const QHash<QString, O> outcomes{{"found", O::Found},
                                         {"not found", O::NotFound},
                                         {"nothing selected", O::NothingSelected}};
        QCOMPARE(result.outcome, outcomes.value(outcome));
        if (result.outcome == O::Found)
            QCOMPARE(result.entry->title.toString(), title);
        if (result.outcome == O::NotFound)
            QCOMPARE(result.selection, selection); // shown exactly as selected
    }
};

QTEST_APPLESS_MAIN(TestCommandReference)
#include "tst_commandreference.moc"
