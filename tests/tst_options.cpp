#include "Child.h"
#include "EditorServices.h"
#include "FileStore.h"
#include "MainMenus.h"
#include "MainWindowFixture.h"
#include "OptionsWindow.h"
#include "ReportView.h"
#include "ScriptDebugger.h"
#include "ScriptDebuggerWindow.h"

#include <Qsci/qscilexer.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using namespace Korveth;

namespace {

// The colour boxes: editor text, keywords, operators; debugger text, correct, error.
const char *const colourBoxes[]
    = {"picHidden", "Picture1", "Picture2", "Picture3", "Picture4", "Picture5"};

} // namespace

// The options window: cancelled dialogs change nothing, the debugger font reaches the report,
// the editor's look reaches every editor, and the choices are kept for the next run.
class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxesShowTheColoursInUseAndCancelChangesNothing()
    {
        MainWindowFixture f;
        OptionsWindow &window = open(f);
        QCOMPARE(window.windowTitle(), QStringLiteral("Options"));
        QVERIFY(child<QCheckBox>(window, "Check1").isChecked());
        const QString editorFont = child<QLabel>(window, "Label9").text();
        const QString debuggerFont = child<QLabel>(window, "Label10").text();
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        for (int style = 0; style < 3; ++style) {
            QCOMPARE(child<QLabel>(window, colourBoxes[style]).palette().color(QPalette::Window),
                     editor->lexer()->color(style));
            QCOMPARE(
                child<QLabel>(window, colourBoxes[style + 3]).palette().color(QPalette::Window),
                ReportView::styleColour(style, window.palette()));
        }

        f.dialogs.values << QVariant() << QVariant() << QVariant();
        window.chooseEditorFont();
        window.chooseDebuggerFont();
        window.chooseEditorColour(1);
        QCOMPARE(f.dialogs.shown.last().initial.value<QColor>(), QColor(0x00, 0x00, 0xA0));
        QCOMPARE(child<QLabel>(window, "Label9").text(), editorFont);
        QCOMPARE(child<QLabel>(window, "Label10").text(), debuggerFont);
        QCOMPARE(child<QLabel>(window, "Picture1").palette().color(QPalette::Window),
                 QColor(0x00, 0x00, 0xA0));
        QCOMPARE(editor->lexer()->color(1), QColor(0x00, 0x00, 0xA0)); // the keywords' own colour
        window.close();
    }
    // White text on the white editor would hide every script for good.
    void faintColoursAreRefusedAndDefaultsComeBack()
    {
        MainWindowFixture f;
        OptionsWindow &window = open(f);
        ScriptEditor *editor = f.docs().activeDocument()->editor();
        f.dialogs.values << QVariant::fromValue(QColor(Qt::white))
                         << QVariant::fromValue(QColor(0xFF, 0xFF, 0x80))
                         << QVariant::fromValue(QColor(Qt::darkRed));
        for (int time = 0; time < 3; ++time)
            window.chooseEditorColour(0);
        QCOMPARE(f.dialogs.messageTitles(), QStringList({"Options", "Options"}));
        QCOMPARE(editor->lexer()->color(0), QColor(Qt::darkRed));
        QCOMPARE(child<QLabel>(window, "picHidden").palette().color(QPalette::Window),
                 QColor(Qt::darkRed));
        child<QPushButton>(window, "cmdDefaults").click();
        QCOMPARE(editor->lexer()->color(0), QColor(Qt::black));
        QCOMPARE(child<QLabel>(window, "picHidden").palette().color(QPalette::Window),
                 QColor(Qt::black));
        window.close();
    }
    void debuggerFontReachesTheReport()
    {
        MainWindowFixture f;
        f.window->runCommand(QStringLiteral("sdebug"));
        OptionsWindow &window = open(f);
        QFont chosen(QStringLiteral("Courier"), 13);
        chosen.setUnderline(true);
        f.dialogs.values << QVariant::fromValue(chosen);
        window.chooseDebuggerFont();
        QCOMPARE(child<QLabel>(window, "Label10").text(), chosen.family());
        QCOMPARE(child<QLabel>(window, "Label10").font().pointSize(), 13);
        ReportView *report = &f.window->debugger().window()->report();
        QCOMPARE(report->reportFont().family(), chosen.family());
        QVERIFY(report->SendScintilla(QsciScintillaBase::SCI_STYLEGETUNDERLINE, 1) != 0);

        // Kept for the next run, and for a debugger window made afresh.
        f.window->runCommand(QStringLiteral("sdebug"));
        QCOMPARE(f.window->debugger().window()->report().reportFont().pointSize(), 13);
        child<QPushButton>(*f.window->debugger().window(), "Command1").click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.window->runCommand(QStringLiteral("sdebug"));
        QCOMPARE(f.window->debugger().window()->report().reportFont().pointSize(), 13);
        window.close();
    }
    void editorLookReachesEveryEditorAndIsKept()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("options.ini")), QSettings::IniFormat);
        QFont chosen(QStringLiteral("Courier"), 15);
        {
            ScriptedDialogs dialogs;
            EditorServices editors;
            DiskFileStore files;
            MainWindow window({dialogs, editors, files, ProgramPaths(dir.path()), &settings});
            window.startUp({});
            ScriptEditor *before = window.documents().activeDocument()->editor();
            window.menus().action(QStringLiteral("options"))->trigger();
            OptionsWindow *options = window.findChild<OptionsWindow *>();
            QVERIFY(options);
            dialogs.values << QVariant::fromValue(chosen) << QVariant::fromValue(QColor(Qt::red));
            options->chooseEditorFont();
            options->chooseEditorColour(1);
            QCOMPARE(child<QLabel>(*options, "Picture1").palette().color(QPalette::Window),
                     QColor(Qt::red));
            ScriptEditor *after = window.documents().NewDocument()->editor();
            for (ScriptEditor *editor : {before, after}) {
                QCOMPARE(editor->lexer()->font(0).pointSize(), 15);
                QCOMPARE(editor->lexer()->color(1), QColor(Qt::red));
                QVERIFY(!editor->lexer()->font(1).bold()); // commands stay plain, as at start
            }
            QCOMPARE(window.settingsEditor()->font().pointSize(), 15); // it has no language
            QVERIFY(!after->lexer()->font(3).bold()); // each style keeps its weight
            dialogs.fileNames << dir.path();
            options->chooseScriptsFolder();
            QCOMPARE(editors.liveCheck.scriptsFolder(), dir.path());
            options->close();
            window.debugger().setDialect(DialectChoice::Modern);
            Q_EMIT window.debugger().dialectChosen(DialectChoice::Modern);
            window.menus().action(QStringLiteral("mistakes"))->trigger(); // switched off
            for (DocumentWindow *document : window.documents().openDocuments())
                document->document().setChanged(false);
        }
        // The next run starts with them.
        ScriptedDialogs dialogs;
        EditorServices editors;
        DiskFileStore files;
        MainWindow window({dialogs, editors, files, ProgramPaths(dir.path()), &settings});
        window.startUp({});
        ScriptEditor *editor = window.documents().activeDocument()->editor();
        QCOMPARE(editor->lexer()->font(0).pointSize(), 15);
        QCOMPARE(editor->lexer()->color(1), QColor(Qt::red));
        QVERIFY(!editor->lexer()->color(2).isValid()
                || editor->lexer()->color(2) != QColor(Qt::red));
        QCOMPARE(window.debugger().dialect(), DialectChoice::Modern); // kept with the options
        QCOMPARE(editors.liveCheck.dialect(), DialectChoice::Modern); // mistakes shown in it
        QVERIFY(!editors.liveCheck.enabled());
        QCOMPARE(editors.liveCheck.scriptsFolder(), dir.path());
        QVERIFY(!window.menus().action(QStringLiteral("mistakes"))->isChecked());

        // Restore Defaults is kept too: the next run has no trace of the old choices.
        window.menus().action(QStringLiteral("options"))->trigger();
        OptionsWindow *options = window.findChild<OptionsWindow *>();
        QVERIFY(options);
        child<QPushButton>(*options, "cmdDefaults").click();
        QVERIFY(!editor->lexer()->font(1).bold());
        options->close();
        ScriptedDialogs again;
        EditorServices againEditors;
        MainWindow next({again, againEditors, files, ProgramPaths(dir.path()), &settings});
        next.startUp({});
        const ScriptEditor *fresh = next.documents().activeDocument()->editor();
        QVERIFY(fresh->lexer()->color(1) != QColor(Qt::red));
        QVERIFY(fresh->lexer()->font(0).pointSize() != 15);
    }

private:
    static OptionsWindow &open(MainWindowFixture &f)
    {
        QAction *item = f.window->menus().action(QStringLiteral("options"));
        if (!item || item->text() != u"&Options...")
            qFatal("no Options item");
        item->trigger();
        auto *window = f.window->findChild<OptionsWindow *>();
        if (!window)
            qFatal("no options window");
        return *window;
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
