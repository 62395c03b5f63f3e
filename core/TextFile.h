#pragma once

#include "FileSnapshot.h"
#include "TextLines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Reading and writing script files so that an unedited file saves back byte for byte: the
// encoding, byte-order mark and line ends are detected on reading and remembered. Text is held as
// UTF-8, the editor's own form, so large files are not copied through QString on the way in.
namespace Korveth {

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

struct TextFileFormat
{
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
    // The style new lines get: the file's most frequent line end; CR LF for a file without any.
    LineEnding lineEnding = LineEnding::CrLf;

    friend bool operator==(const TextFileFormat &, const TextFileFormat &) = default;
};

struct DecodedText
{
    QByteArray utf8;
    TextFileFormat format;
};

// Decodes file bytes: UTF-16 by its BOM, UTF-8 (with or without BOM) when valid, otherwise
// Windows-1252. Never fails: every byte sequence has a Windows-1252 reading, and that reading maps
// back to the same bytes.
// Without line-end detection, the format's line end is left at CR LF (for readers that only look).
enum class LineEndDetection { Detect, Skip };
DecodedText decodeText(const QByteArray &bytes,
                       LineEndDetection detection = LineEndDetection::Detect);

// Encodes UTF-8 text in the given format. Empty when the text holds a character the encoding
// cannot store (only Windows-1252 can lack one).
std::optional<QByteArray> encodeText(QByteArrayView utf8, const TextFileFormat &format);

// Windows-1252 bytes as UTF-8; every byte has a reading.
QByteArray cp1252ToUtf8(QByteArrayView bytes);
// The same, added to the end of out: a file read a piece at a time reuses one buffer.
void appendCp1252AsUtf8(QByteArray &out, QByteArrayView bytes);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

QByteArrayView lineEndingBytes(LineEnding ending);

// A human name for the format, for the status bar and messages ("UTF-8 with BOM").
QString formatName(const TextFileFormat &format);

struct ReadResult
{
    DecodedText text;
    FileSnapshot snapshot; // the file as it was read
    QString error;         // empty on success; otherwise the reason, for a message naming the file
};

ReadResult readTextFile(const QString &path);

// Where readTextFileInto puts a file's text: UTF-8 in the file's own line ends.
class TextSink
{
public:
    virtual ~TextSink() = default;
    // The file's size in bytes, told before any text: about what the text will take.
    virtual void expect(qint64 bytes) = 0;
    virtual void append(QByteArrayView utf8) = 0;
    // Drops all that was appended: the text is given again from its start.
    virtual void discard() = 0;
};

// Reads a text file as readTextFile does, but hands the text to sink instead of returning it (the
// result's text is empty). A UTF-8 file, the usual script, goes in a piece at a time as it is read,
// so a large one is never held twice; any other is decoded whole first. After an error the sink
// may hold part of the text.
ReadResult readTextFileInto(const QString &path, TextSink &sink);

} // namespace Korveth
