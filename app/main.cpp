#include "EditorServices.h"
#include "FileStore.h"
#include "QtDialogs.h"
#include "frmMain.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korveth Script Editor"));

    Korveth::QtDialogs dialogs;
    Korveth::EditorServices editors;
    Korveth::DiskFileStore files;
    QSettings settings(QStringLiteral("Korveth"), QStringLiteral("Korveth Script Editor"));
    Korveth::frmMain window(
        {dialogs, editors, files, Korveth::ProgramPaths::ofRunningProgram(), &settings});
    dialogs.setParent(&window);
    window.show();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Korveth::frmMain::StartUpHooks hooks;
    hooks.showStartPage = [](Korveth::frmMain &main) {
        main.showStartPage(0);
    };
    window.startUp(arguments, hooks);
    return app.exec();
}
