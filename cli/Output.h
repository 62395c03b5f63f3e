#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <cstdio>

namespace Korveth {

// Buffers output as UTF-8 and writes it in large pieces: reports can be as long as the script.
class Output
{
public:
    explicit Output(std::FILE *stream)
        : m_stream(stream)
        , m_buffer(2 * flushSize, Qt::Uninitialized)
    {}
    // Keeps everything written, to be written elsewhere later (written()), in room for that many
    // bytes at first.
    explicit Output(qsizetype room)
        : m_stream(nullptr)
        , m_buffer(room, Qt::Uninitialized)
    {}

    void write(QStringView text);
    void write(QLatin1StringView text);
    void writeUtf8(QByteArrayView bytes);
    void flush();
    // What a kept output holds.
    QByteArrayView written() const { return QByteArrayView(m_buffer).first(m_used); }
    // Flushes everything down to the stream; the reason the output could not be written, if so.
    QString finish();

private:
    static constexpr qsizetype flushSize = 1 << 20;

    // Makes room for that many more bytes; a line longer than the buffer grows it.
    void room(qsizetype bytes);
    void noteFailure();

    std::FILE *m_stream; // none: kept
    QByteArray m_buffer; // the first m_used bytes are waiting to be written
    qsizetype m_used = 0;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QString m_failure;
};

} // namespace Korveth
