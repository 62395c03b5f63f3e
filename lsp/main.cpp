// korveth-lsp: the script checker as a language server for other editors, on standard input and
// output.
#include "LspFraming.h"
#include "LspServer.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Korveth::LspReader reader(stdin);
    bool outputGone = false;
    Korveth::LspServer server([&](const QByteArray &body) {
        if (!outputGone)
            outputGone = !Korveth::writeLspMessage(stdout, body);
    });
    while (!server.exitRequested() && !outputGone) {
        const Korveth::LspReader::Read read = reader.next();
        if (read.status == Korveth::LspReader::Status::End)
            return 1; // the client went away without exit
        if (read.status == Korveth::LspReader::Status::BadHeader)
            server.badHeader();
        else
            server.handle(read.body);
    }
    return outputGone ? 1 : server.exitCode();
}
