#include "CheckCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return Korveth::runCheckCommand(arguments, stdin, stdout, stderr);
}
