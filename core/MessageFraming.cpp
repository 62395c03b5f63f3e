#include "MessageFraming.h"

#include <QList>

namespace Korveth {

namespace {

// Longest header block and body taken: past these the peer is not speaking the protocol.
constexpr qsizetype maxHeaderBytes = 8 * 1024;
constexpr qsizetype maxBodyBytes = 512 * 1024 * 1024;

} // namespace

MessageReader::Read MessageReader::next()
{
    QByteArray header;
    for (;;) {
        const int c = std::fgetc(m_in);
        if (c == EOF)
            return {Status::End, {}};
        header += char(c);
        if (header.endsWith("\r\n\r\n"))
            break;
        if (header.size() > maxHeaderBytes)
            return {Status::BadHeader, {}};
    }
    qsizetype length = -1;
    for (const QByteArray &line : header.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype colon = trimmed.indexOf(':');
        if (colon > 0 && trimmed.first(colon).trimmed().toLower() == "content-length") {
            bool ok = false;
            length = trimmed.sliced(colon + 1).trimmed().toLongLong(&ok);
            if (!ok)
                length = -1;
        }
    }
    if (length < 0 || length > maxBodyBytes)
        return {Status::BadHeader, {}};
    QByteArray body(length, Qt::Uninitialized);
    if (length > 0 && std::fread(body.data(), 1, std::size_t(length), m_in) != std::size_t(length))
        return {Status::End, {}};
    return {Status::Message, body};
}

bool writeMessage(std::FILE *out, const QByteArray &body)
{
    const QByteArray header = "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n";
    return std::fwrite(header.constData(), 1, std::size_t(header.size()), out)
               == std::size_t(header.size())
           && std::fwrite(body.constData(), 1, std::size_t(body.size()), out)
                  == std::size_t(body.size())
           && std::fflush(out) == 0;
}

} // namespace Korveth
