#include "EditorServices.h"
#include "FileStore.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "SystemMemory.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char *argv[])
{
    Korveth::returnLargeBlocksPromptly();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korveth Script Editor"));

    Korveth::QtDialogs dialogs;
    Korveth::EditorServices editors;
    Korveth::DiskFileStore files;
    QSettings settings(QStringLiteral("Korveth"), QStringLiteral("Korveth Script Editor"));
    Korveth::MainWindow window(
        {dialogs, editors, files, Korveth::ProgramPaths::ofRunningProgram(), &settings});
    dialogs.setParent(&window);
    window.show();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Korveth::MainWindow::StartUpHooks hooks;
    hooks.showStartPage = [](Korveth::MainWindow &main) {
        main.showStartPage(0);
    };
    window.startUp(arguments, hooks);
    return app.exec();
}
