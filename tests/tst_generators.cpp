#include "CaseTable.h"
#include "CheckRun.h"
#include "Child.h"
#include "HealingGenerator.h"
#include "HealingGeneratorDialog.h"
#include "HuntingGenerator.h"
#include "HuntingGeneratorWindow.h"
#include "MainWindowFixture.h"
#include "RecordingReport.h"
#include "ScriptChecker.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Korveth;

namespace {

const QString dataFolder = QStringLiteral(KORVETH_SOURCE_DIR "/data");

QString readData(const QString &name)
{
    QFile file(dataFolder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing data file");
    return QString::fromUtf8(file.readAll());
}

HuntingInputs typicalInputs()
{
    HuntingInputs in;
    in.scriptName = QStringLiteral("Grove hunt");
    in.stance = QStringLiteral("offensive");
    in.critter1Name = QStringLiteral("goblin");
    in.critter1Skin = QStringLiteral("goblin skin");
    in.critter2Name = QStringLiteral("hobgoblin");
    in.startCommands[0] = QStringLiteral("stand");
    in.startCommands[2] = QStringLiteral("wield my sword");
    in.huntingAnchor = QStringLiteral("[Old Grove, Clearing]");
    in.restPlace = QStringLiteral("[Town Square, Small Park]");
    in.pathTo[0] = QStringLiteral("north");
    in.pathTo[1] = QStringLiteral("go gate");
    in.pathTo[2] = QStringLiteral("east");
    in.pathBack[0] = QStringLiteral("west");
    in.pathBack[1] = QStringLiteral("go gate");
    in.pathBack[2] = QStringLiteral("south");
    return in;
}

std::int32_t warningsOf(const QString &script)
{
    ScriptChecker checker(script);
    RecordingReport report;
    return runCheck(script, checker, report).errorCount;
}

// Puts the shipped data files into the fixture's program folder.
void shipData(const MainWindowFixture &f)
{
    for (const QString &name : QDir(dataFolder).entryList({QStringLiteral("*.dat")}, QDir::Files))
        QFile::copy(dataFolder + u'/' + name, f.dir.filePath(name));
}

} // namespace

// The hunting and healing generators: substitutions, assembly, windows, and scripts that check
// without a warning.
class TestGenerators : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void huntingSubstitutions_data()
    {
        CaseTable::load(QStringLiteral("generator-cases/substitutions.tsv"));
    }
    void huntingSubstitutions()
    {
        QFETCH(QString, templ);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        HuntingInputs in;
        in.critter1Name = QStringLiteral("rat");
        in.stance = QStringLiteral("neutral");
        in.huntingAnchor = QStringLiteral("anchor");
        if (field == u"StartOp1")
            in.startCommands[0] = value;
        else if (field == u"MoveTo11")
            in.pathTo[11] = value;
        else if (field == u"ScriptName")
            in.scriptName = value;
        else if (field == u"HuntingAnchor")
            in.huntingAnchor = value;
        else if (field == u"Stance")
            in.stance = value;
        QCOMPARE(generateHuntingScript(templ, in), expected);
    }
    // The shipped template with typical inputs, beside the script it must give.
    void expectedHuntingScript()
    {
        const QString expectedPath
            = QStringLiteral(KORVETH_SOURCE_DIR "/tests/generator-cases/typical-hunt.cmd");
        const QString generated
            = generateHuntingScript(readData(QStringLiteral("huntgen.dat")), typicalInputs());
        QFile expected(expectedPath);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(generated, QString::fromUtf8(expected.readAll()));
        QVERIFY(!generated.contains(u"[option"));
        QVERIFY(!generated.contains(u"hunt2]"));
        QVERIFY(generated.contains(u"move north\r\nmove go gate\r\nmove east\r\nput look"));
    }
    // Every field, pasted with line breaks and other control characters, gives the script it gives
    // with blanks there.
    void lineBreaksInAnyFieldStayOnTheirLine()
    {
        const QString templ = readData(QStringLiteral("huntgen.dat"));
        HuntingInputs pasted = typicalInputs();
        HuntingInputs typed = typicalInputs();
        for (QString *field : pasted.fields())
            *field += QStringLiteral("x\r\nput x\x07\tpause");
        for (QString *field : typed.fields())
            *field += QStringLiteral("x put x pause");
        QCOMPARE(generateHuntingScript(templ, pasted), generateHuntingScript(templ, typed));
    }
    void requiredInputs_data()
    {
        QTest::addColumn<QString>("cleared");
        QTest::addColumn<QString>("missing"); // the field the message names; empty when complete
        // clang-format off
        QTest::newRow("all there") << "" << "";
        QTest::newRow("no anchor") << "HuntingAnchor" << "Hunting Anchor Description Line";
        QTest::newRow("no rest place") << "RestPlace" << "Restplace Description Line";
        QTest::newRow("stance prompt") << "Stance" << "Attack Stance";
        QTest::newRow("no first creature") << "Critter1Name" << "Critter 1 Name";
        QTest::newRow("blanks only count") << "blanks" << "";
        QTest::newRow("a line break is no input") << "lineBreak" << "Hunting Anchor Description Line";
        QTest::newRow("empty stance passes") << "emptyStance" << "";
        // clang-format on
    }
    void requiredInputs()
    {
        QFETCH(QString, cleared);
        QFETCH(QString, missing);
        MainWindowFixture f;
        HuntingGeneratorWindow *window = f.window->showHuntingGenerator();
        child<QLineEdit>(*window, "HuntingAnchor").setText(QStringLiteral("a"));
        child<QLineEdit>(*window, "RestPlace").setText(QStringLiteral("r"));
        child<QComboBox>(*window, "Stance").setCurrentIndex(0);
        child<QLineEdit>(*window, "Critter1Name").setText(QStringLiteral("rat"));
        QWidget *box = window->findChild<QWidget *>(cleared);
        if (cleared == u"Stance")
            child<QComboBox>(*window, "Stance").setEditText(QStringLiteral("Select Stance..."));
        else if (cleared == u"emptyStance")
            child<QComboBox>(*window, "Stance").setEditText(QString());
        else if (cleared == u"blanks")
            child<QLineEdit>(*window, "HuntingAnchor").setText(QStringLiteral("  "));
        else if (cleared == u"lineBreak")
            child<QLineEdit>(*window, "HuntingAnchor").setText(QStringLiteral("\r\n"));
        else if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->clear();
        QCOMPARE(hasRequiredInputs(window->inputs()), missing.isEmpty());
        if (!missing.isEmpty()) {
            child<QPushButton>(*window, "cmdGen").click();
            QCOMPARE(f.dialogs.messageTitles(), QStringList({"Error"}));
            QVERIFY(f.dialogs.shown.last().text.startsWith(
                QStringLiteral("Required input missing, Please try again.\n\n") + missing));
            QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::None);
            QVERIFY(window->isVisible());
            QCOMPARE(f.docs().count(), 1);
            // The page of the missing field is shown.
            box = box ? box : &child<QLineEdit>(*window, "HuntingAnchor");
            QVERIFY(child<QTabWidget>(*window, "SSTab1").currentWidget()->isAncestorOf(box));
        }
        window->close();
    }
    void generatedScriptsCheckClean_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("typical hunt")
            << generateHuntingScript(readData(QStringLiteral("huntgen.dat")), typicalInputs());
        HuntingInputs bare;
        bare.stance = QStringLiteral("guarded");
        bare.critter1Name = QStringLiteral("rat");
        bare.huntingAnchor = QStringLiteral("Sewer");
        bare.restPlace = QStringLiteral("Inn");
        QTest::newRow("bare hunt")
            << generateHuntingScript(readData(QStringLiteral("huntgen.dat")), bare);
        for (int transfer : {1, 2}) {
            for (int down : {3, 4, 5})
                QTest::addRow("healing %d+%d", transfer, down)
                    << assembleHealingScript(readData(QStringLiteral("HSG%1.dat").arg(transfer)),
                                             readData(QStringLiteral("HSG%1.dat").arg(down)));
        }
    }
    void generatedScriptsCheckClean()
    {
        QFETCH(QString, script);
        QCOMPARE(warningsOf(script), 0);
    }
    void huntingWindowOpensANeverSavedScript()
    {
        MainWindowFixture f;
        shipData(f);
        const QByteArray templ
            = MainWindowFixture::read(f.dir.filePath(QStringLiteral("huntgen.dat")));
        HuntingGeneratorWindow *window = f.window->showHuntingGenerator();
        QCOMPARE(window->windowTitle(), QStringLiteral("Hunting Script Generator - Swinger"));
        QCOMPARE(child<QComboBox>(*window, "Stance").currentText(),
                 QStringLiteral("Select Stance..."));
        QCOMPARE(child<QComboBox>(*window, "Stance").count(), 5);
        child<QLineEdit>(*window, "HuntingAnchor").setText(QStringLiteral("[Old Grove, Clearing]"));
        child<QLineEdit>(*window, "RestPlace").setText(QStringLiteral("[Town Square, Small Park]"));
        child<QComboBox>(*window, "Stance").setCurrentIndex(1);
        child<QLineEdit>(*window, "Critter1Name").setText(QStringLiteral("goblin"));
        child<QLineEdit>(*window, "MoveTo_0").setText(QStringLiteral("north"));
        QPointer<HuntingGeneratorWindow> alive(window);
        child<QPushButton>(*window, "cmdGen").click();
        QTRY_VERIFY(!alive);
        DocumentWindow *script = f.docs().activeDocument();
        QCOMPARE(f.docs().count(), 2);
        QCOMPARE(f.window->tb().captions().last(), QStringLiteral("Hunting Script"));
        QVERIFY(script->document().neverSaved());
        QCOMPARE(script->windowTitle(), QStringLiteral("New Script 2")); // not the template's name
        QVERIFY(script->editor()->crlfText().contains(u"put stance advance\r\n"));
        QVERIFY(script->editor()->crlfText().contains(u"move north\r\nput look"));
        QCOMPARE(warningsOf(script->editor()->crlfText()), 0);

        f.dialogs.fileNames << f.dir.filePath(QStringLiteral("grove.cmd"));
        f.window->runCommand(QStringLiteral("save"));
        QCOMPARE(MainWindowFixture::read(f.dir.filePath(QStringLiteral("huntgen.dat"))), templ);
        QCOMPARE(
            QString::fromUtf8(MainWindowFixture::read(f.dir.filePath(QStringLiteral("grove.cmd")))),
            script->editor()->crlfText());
    }
    void huntingWindowWithoutTemplate()
    {
        MainWindowFixture f; // no data files in its program folder
        HuntingGeneratorWindow *window = f.window->showHuntingGenerator();
        child<QLineEdit>(*window, "HuntingAnchor").setText(QStringLiteral("a"));
        child<QLineEdit>(*window, "RestPlace").setText(QStringLiteral("r"));
        child<QComboBox>(*window, "Stance").setEditText(QStringLiteral("neutral"));
        child<QLineEdit>(*window, "Critter1Name").setText(QStringLiteral("rat"));
        child<QPushButton>(*window, "cmdGen").click();
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Open Script"}));
        QVERIFY(f.dialogs.shown.last().text.contains(QStringLiteral("huntgen.dat")));
        QCOMPARE(f.docs().count(), 1);
        QVERIFY(window->isVisible());
        window->close();
    }
    void healingChoices_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("checked"); // boxes checked afterwards
        QTest::newRow("at first") << QList<int>{} << "13";
        QTest::newRow("transfer any once") << QList<int>{1} << "23";
        QTest::newRow("transfer any twice") << QList<int>{1, 1} << "13";
        QTest::newRow("the unchecked partner") << QList<int>{2} << "23";
        QTest::newRow("just take the wounds") << QList<int>{5} << "15";
        QTest::newRow("checked heal-down clears the group") << QList<int>{3} << "1";
        QTest::newRow("then another") << QList<int>{3, 4} << "14";
    }
    void healingChoices()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QString, checked);
        MainWindowFixture f;
        HealingGeneratorDialog window(f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
        for (int box : clicks)
            child<QRadioButton>(window, qPrintable(QStringLiteral("Check%1").arg(box))).click();
        QString shown;
        for (int box = 1; box <= 5; ++box) {
            if (child<QRadioButton>(window, qPrintable(QStringLiteral("Check%1").arg(box)))
                    .isChecked())
                shown += QString::number(box);
        }
        QCOMPARE(shown, checked);
    }
    // Into the untouched blank script; a script with typed text keeps it, and gets a new one
    // beside.
    void healingScriptNeverReplacesTypedText()
    {
        MainWindowFixture f;
        shipData(f);
        const QString healing = assembleHealingScript(readData(QStringLiteral("HSG1.dat")),
                                                      readData(QStringLiteral("HSG3.dat")));
        DocumentWindow *blank = f.docs().activeDocument();
        for (int time = 0; time < 2; ++time) {
            HealingGeneratorDialog window(f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
            child<QPushButton>(window, "Command1").click();
            QCOMPARE(window.result(), int(QDialog::Accepted));
            QCOMPARE(f.docs().activeDocument()->editor()->crlfText(), healing);
            QCOMPARE(f.docs().activeDocument() == blank, time == 0);
            blank->editor()->setWholeText(QStringLiteral("my own text"));
        }
        QCOMPARE(f.docs().count(), 2);
        QCOMPARE(blank->editor()->crlfText(), QStringLiteral("my own text"));
    }
    void healingWindowRefusesWhatItCannotDo()
    {
        MainWindowFixture f;
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        editor->setWholeText(QStringLiteral("kept"));
        HealingGeneratorDialog window(f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
        child<QRadioButton>(window, "Check3").click(); // no heal-down way left
        child<QPushButton>(window, "Command1").click();
        QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Heal down Value not given"));
        QCOMPARE(f.dialogs.shown.last().text,
                 QStringLiteral("You must select one of the Heal down Values."));
        child<QRadioButton>(window, "Check3").click();
        child<QPushButton>(window, "Command1").click(); // no fragments in this program folder
        QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Healing Script Generator"));
        QVERIFY(f.dialogs.shown.last().text.contains(QStringLiteral("HSG1.dat")));
        QCOMPARE(editor->crlfText(), QStringLiteral("kept"));
        QVERIFY(window.result() != QDialog::Accepted);
    }
};

QTEST_MAIN(TestGenerators)
#include "tst_generators.moc"
