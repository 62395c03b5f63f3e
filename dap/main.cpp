// korveth-dap: the dry run as a debug adapter for other editors, on standard input and output.
#include "DapServer.h"
#include "MessageFraming.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Korveth::MessageReader reader(stdin);
    bool outputGone = false;
    Korveth::DapServer server([&](const QByteArray &body) {
        if (!outputGone)
            outputGone = !Korveth::writeMessage(stdout, body);
    });
    while (!server.finished() && !outputGone) {
        const Korveth::MessageReader::Read read = reader.next();
        if (read.status == Korveth::MessageReader::Status::End)
            return 0; // the client went away: a debug session may simply end
        if (read.status == Korveth::MessageReader::Status::Message)
            server.handle(read.body);
    }
    return outputGone ? 1 : 0;
}
