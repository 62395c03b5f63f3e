#include "CheckCommand.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The arguments as given: file names are bytes, whatever the locale makes of them.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    return Korveth::runCheckCommand(arguments, stdin, stdout, stderr);
}
