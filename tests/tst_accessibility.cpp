#include "AccessibilityWalk.h"
#include "HelpCommands.h"
#include "MainWindowFixture.h"
#include "Script.h"
#include "ScriptDebugger.h"
#include "frmAbout.h"
#include "frmFront.h"
#include "frmHealingScriptGen.h"
#include "frmHuntingSG.h"
#include "frmOptions.h"
#include "frmProperties.h"

#include <QTest>

using namespace Korveth;

// What a screen reader user meets in every window: each control that takes the focus has a name.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlHasAName_data();
    void everyControlHasAName();
};

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"main window",
                               "Script Debugger",
                               "start page",
                               "hunting generator",
                               "healing generator",
                               "options",
                               "about",
                               "Script Properties"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(QString, window);
    MainWindowFixture f;
    std::unique_ptr<QWidget> owned;
    QWidget *shown = nullptr;
    if (window == u"main window") {
        shown = f.window.get();
    } else if (window == u"Script Debugger") {
        f.window->runCommand(QStringLiteral("sdebug"));
        shown = f.window->debugger().window();
    } else if (window == u"start page") {
        owned = std::make_unique<frmFront>(
            f.docs(), f.dialogs, f.window->recentFiles(), QStringLiteral("Start Up"), nullptr);
    } else if (window == u"hunting generator") {
        shown = f.window->showHuntingGenerator();
    } else if (window == u"healing generator") {
        owned = std::make_unique<frmHealingScriptGen>(
            f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
    } else if (window == u"options") {
        f.window->runCommand(QStringLiteral("options"));
        shown = f.window->findChild<frmOptions *>();
    } else if (window == u"about") {
        owned = std::make_unique<frmAbout>(f.dialogs, HelpCommands::website, nullptr);
    } else {
        owned = std::make_unique<frmProperties>(nullptr);
    }
    if (owned)
        shown = owned.get();
    QVERIFY(shown);
    shown->show();
    const QStringList problems = AccessibilityWalk::problems(shown);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
