#pragma once

#include "TextFile.h"

// Keeps what a reader hands on, as an editor would show it.
struct RecordingSink final : Korveth::TextSink
{
    void expect(qint64 bytes) override { expected = bytes; }
    void append(QByteArrayView utf8) override { text += utf8; }
    void discard() override { text.clear(); }
    qint64 expected = -1;
    QByteArray text;
};
