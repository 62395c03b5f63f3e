// korveth-lsp: the script checker as a language server for other editors, on standard input and
// output.
#include "LspServer.h"
#include "MessageFraming.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Korveth::MessageReader reader(stdin);
    bool outputGone = false;
    Korveth::LspServer server([&](const QByteArray &body) {
        if (!outputGone)
            outputGone = !Korveth::writeMessage(stdout, body);
    });
    while (!server.exitRequested() && !outputGone) {
        const Korveth::MessageReader::Read read = reader.next();
        if (read.status == Korveth::MessageReader::Status::End)
            return 1; // the client went away without exit
        if (read.status == Korveth::MessageReader::Status::BadHeader)
            server.badHeader();
        else
            server.handle(read.body);
    }
    return outputGone ? 1 : server.exitCode();
}
