// Renders every window of the program to PNG files, offscreen, for a person to look at:
//   QT_QPA_PLATFORM=offscreen build/bin/korveth-render-windows FOLDER
#include "Child.h"
#include "DocumentArea.h"
#include "EditorServices.h"
#include "FileBrowser.h"
#include "FileStore.h"
#include "HelpCommands.h"
#include "MainWindowFixture.h"
#include "QuickNav.h"
#include "ReportView.h"
#include "ScriptDebugger.h"
#include "ScriptDebuggerWindow.h"
#include "ScriptRunnerCommand.h"
#include "ScriptRunnerWindow.h"

#include "AboutBox.h"
#include "HealingGeneratorDialog.h"
#include "HuntingGeneratorWindow.h"
#include "OptionsWindow.h"
#include "ScriptPropertiesDialog.h"
#include "SidePane.h"
#include "StartPage.h"
#include <QLineEdit>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>

#include <cstdio>

using namespace Korveth;

namespace {

QString folder;

void save(QWidget &widget, const QString &name)
{
    widget.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (widget.grab().save(path))
        std::printf("%s\n", qPrintable(path));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: korveth-render-windows FOLDER\n", stderr);
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    MainWindowFixture f;
    for (const QString &name : QDir(QStringLiteral(KORVETH_SOURCE_DIR "/data"))
                                   .entryList({QStringLiteral("*.dat")}, QDir::Files))
        QFile::copy(QStringLiteral(KORVETH_SOURCE_DIR "/data/") + name, f.dir.filePath(name));
    f.window->resize(1000, 640);
    QDir(f.dir.path()).mkpath(QStringLiteral("Temp"));
    QFile::copy(QStringLiteral(KORVETH_SOURCE_DIR "/data/Temp/tags.dat"),
                f.dir.filePath(QStringLiteral("Temp/tags.dat")));
    f.window->sidePane().quickNav()->fill(f.dir.filePath(QStringLiteral("Temp/tags.dat")));
    f.window->sidePane().fileBrowser()->setFolder(
        QStringLiteral(KORVETH_SOURCE_DIR "/tests/generator-cases"));
    f.docs().activeDocument()->editor()->setWholeText(QStringLiteral(
        "# grove hunt\r\nstart:\r\n  put stance offensive\r\n  counter add 1\r\n"
        "  match attack You also see\r\n  matchwait\r\nattack:\r\n  put attack %1\r\n"
        "  goto strat\r\n  nextroom\r\n"));
    f.docs().NewDocument()->editor()->setWholeText(QStringLiteral("#ScriptName\r\n\r\n\r\nExit"));
    f.window->area().activate(f.docs().document(1));
    for (DocumentWindow *document : f.docs().openDocuments())
        document->live().refresh();
    save(*f.window, QStringLiteral("main-window"));

    f.window->runCommand(QStringLiteral("sdebug"));
    if (ScriptDebuggerWindow *debugger = f.window->debugger().window()) {
        debugger->findNextMistake();
        save(*debugger, QStringLiteral("script-debugger"));
        debugger->close();
    }

    // The Script Runner paused on the first script, a log line read and a match pending.
    f.window->area().activate(f.docs().document(0));
    f.window->runCommand(QStringLiteral("srun"));
    if (ScriptRunnerWindow *runner = f.window->scriptRunner().window()) {
        QFile log(f.dir.filePath(QStringLiteral("grove.log")));
        if (log.open(QIODevice::WriteOnly))
            log.write("You feel the breeze.\r\nYou also see a rat.\r\n");
        log.close();
        runner->logPath().setText(log.fileName());
        runner->arguments().setText(QStringLiteral("rat"));
        for (int i = 0; i < 7; ++i)
            runner->stepInto();
        save(*runner, QStringLiteral("script-runner"));
        runner->stopRun();
        runner->close();
    }

    StartPage page(
        f.docs(), f.dialogs, f.window->recentFiles(), QStringLiteral("Start Up"), nullptr);
    for (int tab = 0; tab < 3; ++tab) {
        child<QTabWidget>(page, "SSTab1").setCurrentIndex(tab);
        save(page, QStringLiteral("start-page-%1").arg(tab + 1));
    }
    page.hide();

    HuntingGeneratorWindow *hunting = f.window->showHuntingGenerator();
    for (int tab = 0; tab < 3; ++tab) {
        child<QTabWidget>(*hunting, "SSTab1").setCurrentIndex(tab);
        save(*hunting, QStringLiteral("hunting-generator-%1").arg(tab + 1));
    }
    hunting->close();

    HealingGeneratorDialog healing(f.docs(), f.dialogs, ProgramPaths(f.dir.path()), nullptr);
    save(healing, QStringLiteral("healing-generator"));
    healing.hide();

    AboutBox about(f.dialogs, HelpCommands::website, nullptr);
    save(about, QStringLiteral("about"));
    about.hide();

    f.window->runCommand(QStringLiteral("options"));
    if (auto *options = f.window->findChild<OptionsWindow *>()) {
        save(*options, QStringLiteral("options"));
        options->close();
    }

    f.window->sidePane().pages()->setCurrentIndex(1);
    save(*f.window, QStringLiteral("main-window-quick-nav"));

    // The labels of the hunt, and the references to one of them.
    f.window->area().activate(f.docs().document(1));
    f.docs().document(1)->editor()->setCaretPosition(6, 2);
    f.window->runCommand(QStringLiteral("findrefs"));
    save(*f.window, QStringLiteral("main-window-labels"));

    ScriptPropertiesDialog properties(f.window.get());
    properties.fill({QStringLiteral("/home/kalen/hunt.cmd"), false, 1000, 180, 42});
    save(properties, QStringLiteral("script-properties"));
    properties.hide();

    for (DocumentWindow *document : f.docs().openDocuments())
        document->document().setChanged(false);
    return 0;
}
