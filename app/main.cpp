#include "QtDialogs.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korveth Script Editor"));

    Korveth::QtDialogs dialogs;
    Korveth::frmMain window(dialogs);
    dialogs.setParent(&window);
    window.show();

    // The whole command line is one path: an unquoted path with blanks still opens.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    window.startUp(arguments.join(u' '));
    return app.exec();
}
