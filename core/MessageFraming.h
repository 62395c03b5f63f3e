#pragma once

#include <QByteArray>

#include <cstdio>
#include <optional>

namespace Korveth {

// Messages framed as the language server and debug adapter protocols frame them:
// "Content-Length: N" and other headers, a blank line, then N bytes of JSON.
class MessageReader
{
public:
    explicit MessageReader(std::FILE *in)
        : m_in(in)
    {}

    enum class Status { Message, BadHeader, End };
    struct Read
    {
        Status status;
        QByteArray body;
    };

    // The next message; a header block without a usable length is skipped and told as such.
    Read next();

private:
    std::FILE *m_in;
};

// Writes one message with its header; false when the output is gone.
bool writeMessage(std::FILE *out, const QByteArray &body);

} // namespace Korveth
