#include "CaseTable.h"
#include "Child.h"
#include "MainMenus.h"
#include "MainWindowFixture.h"
#include "ScriptPropertiesDialog.h"
#include "TextCounts.h"

#include <QAction>
#include <QSpinBox>
#include <QTest>

using namespace Korveth;

class TestCounting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void counts_data() { CaseTable::load(QStringLiteral("language-cases/counting.tsv")); }
    void counts()
    {
        QFETCH(QString, text);
        QFETCH(QString, words);
        QFETCH(QString, characters);
        QCOMPARE(wordCount(text), words.toInt());
        QCOMPARE(characterCount(text), characters.toInt());
    }
    void kilobytes_data() { CaseTable::load(QStringLiteral("language-cases/kilobytes.tsv")); }
    void kilobytes()
    {
        QFETCH(QString, characters);
        QFETCH(QString, text);
        QCOMPARE(kilobytesText(characters.toInt()), text);
    }
    void countsPast16Bits()
    {
        MainWindowFixture f;
        QString text;
        for (int i = 0; i < 40000; ++i)
            text += QStringLiteral("put a\r\n");
        f.docs().activeDocument()->editor()->setWholeText(text);
        f.window->runCommand(QStringLiteral("countall"));
        QCOMPARE(f.dialogs.shown.last().text,
                 QStringLiteral("Words: 40001\nCharacters:280000\nLines: 40001"));
    }
    // On the active editor, where the change shows; with none open, on what new editors get.
    void editorOptionsActOnTheEditorInFront()
    {
        MainWindowFixture f;
        ScriptEditor *hidden = f.window->settingsEditor();
        ScriptEditor *active = f.docs().activeDocument()->editor();
        hidden->setTabWidth(4);
        active->setTabWidth(4);
        for (int width : {7, 5}) {
            f.dialogs.modalAnswers.enqueue([width](QDialog &dialog) {
                dialog.findChild<QSpinBox *>()->setValue(width);
                return true;
            });
            f.window->runCommand(QStringLiteral("editor"));
            QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Editor Properties"));
            if (width == 7) {
                QCOMPARE(active->tabWidth(), 7);
                QCOMPARE(hidden->tabWidth(), 4);
                f.window->runCommand(QStringLiteral("closeall"));
            }
        }
        QCOMPARE(hidden->tabWidth(), 5);
    }
    void highlightSelectedLineOverEveryDocument()
    {
        MainWindowFixture f;
        ScriptEditor *first = f.docs().activeDocument()->editor();
        first->setWholeText(QStringLiteral("a\r\nb\r\nc"));
        first->setSelection(0, 0, 2, 1);
        ScriptEditor *second = f.docs().NewDocument()->editor();
        second->setWholeText(QStringLiteral("x\r\ny"));
        second->setCaretPosition(1, 0);
        QAction *item = f.window->menus().action(QStringLiteral("hlline"));
        QVERIFY(!item->isChecked());
        QCOMPARE(first->highlightedLine(), -1);

        item->trigger();
        QVERIFY(item->isChecked());
        QCOMPARE(first->highlightedLine(), 2);
        QCOMPARE(second->highlightedLine(), 1);
        second->setCaretPosition(0,
                                 0); // the highlight follows the selection while the option is on
        QCOMPARE(second->highlightedLine(), 0);
        ScriptEditor *third
            = f.docs().NewDocument()->editor(); // and holds for documents made later
        third->setWholeText(QStringLiteral("p\r\nq"));
        third->setCaretPosition(1, 0);
        QCOMPARE(third->highlightedLine(), 1);

        item->trigger();
        QVERIFY(!item->isChecked());
        for (ScriptEditor *editor : {first, second, third})
            QCOMPARE(editor->highlightedLine(), -1);
    }
};

QTEST_MAIN(TestCounting)
#include "tst_counting.moc"
