#include "TextFile.h"

#include "RegularFile.h"
#include "TextLines.h"

#include <QStringDecoder>

#include <array>
#include <memory>
#include <utility>

namespace Korveth {

namespace {

// Windows-1252 at 0x80..0x9F. The five bytes Windows leaves undefined map to the C1 controls of
// the same value, as Windows itself reads them, so every byte survives a round trip.
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? cp1252High[byte - 0x80] : char16_t(byte);
}

std::optional<unsigned char> unicodeToCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < cp1252High.size(); ++i) {
        if (cp1252High[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

std::optional<DecodedText> decodeUtf16(const QByteArray &bytes, TextEncoding encoding)
{
    // An odd byte count or a broken surrogate pair would not survive a round trip.
    if ((bytes.size() - 2) % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE,
                           QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
    if (decoder.hasError() || hasLoneSurrogate(text))
        return std::nullopt;
    DecodedText decoded{text.toUtf8(), {encoding, true, LineEnding::CrLf}};
    decoded.format.lineEnding = dominantLineEnding(decoded.utf8);
    return decoded;
}

} // namespace

QByteArray cp1252ToUtf8(QByteArrayView bytes)
{
    QByteArray out;
    appendCp1252AsUtf8(out, bytes);
    return out;
}

void appendCp1252AsUtf8(QByteArray &out, QByteArrayView bytes)
{
    out.reserve(out.size() + bytes.size() + bytes.size() / 8);
    // Scripts are nearly all ASCII, which stays as it is: copied a run at a time.
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype ascii = asciiPrefixLength(bytes.sliced(at));
        out.append(bytes.sliced(at, ascii));
        at += ascii;
        if (at < bytes.size())
            appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(bytes[at++])));
    }
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            p += asciiPrefixLength(QByteArrayView(p, end));
            continue;
        }
        int length;
        char32_t value;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            value = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            value = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            value = c & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (p[i] & 0x3F);
        }
        if ((length == 3 && (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF)))
            || (length == 4 && (value < 0x10000 || value > 0x10FFFF)))
            return false;
        p += length;
    }
    return true;
}

QByteArrayView lineEndingBytes(LineEnding ending)
{
    switch (ending) {
    case LineEnding::Lf:
        return "\n";
    case LineEnding::Cr:
        return "\r";
    case LineEnding::CrLf:
        break;
    }
    return "\r\n";
}

DecodedText decodeText(const QByteArray &bytes, LineEndDetection detection)
{
    if (bytes.startsWith("\xFF\xFE")) {
        if (auto decoded = decodeUtf16(bytes, TextEncoding::Utf16LE))
            return *decoded;
    } else if (bytes.startsWith("\xFE\xFF")) {
        if (auto decoded = decodeUtf16(bytes, TextEncoding::Utf16BE))
            return *decoded;
    }
    DecodedText decoded;
    if (bytes.startsWith("\xEF\xBB\xBF") && isValidUtf8(QByteArrayView(bytes).sliced(3))) {
        decoded.utf8 = bytes.sliced(3);
        decoded.format.byteOrderMark = true;
    } else if (isValidUtf8(bytes)) {
        decoded.utf8 = bytes;
    } else {
        decoded.utf8 = cp1252ToUtf8(bytes);
        decoded.format.encoding = TextEncoding::Windows1252;
    }
    if (detection == LineEndDetection::Detect)
        decoded.format.lineEnding = dominantLineEnding(decoded.utf8);
    return decoded;
}

std::optional<QByteArray> encodeText(QByteArrayView utf8, const TextFileFormat &format)
{
    switch (format.encoding) {
    case TextEncoding::Utf8: {
        QByteArray out;
        out.reserve(utf8.size() + 3);
        if (format.byteOrderMark)
            out.append("\xEF\xBB\xBF");
        out.append(utf8);
        return out;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool little = format.encoding == TextEncoding::Utf16LE;
        const QString text = QString::fromUtf8(utf8);
        QByteArray out;
        out.reserve(2 + text.size() * 2);
        if (format.byteOrderMark)
            out.append(little ? "\xFF\xFE" : "\xFE\xFF");
        for (QChar c : text) {
            const char16_t u = c.unicode();
            const char lo = char(u & 0xFF), hi = char(u >> 8);
            out.append(little ? lo : hi);
            out.append(little ? hi : lo);
        }
        return out;
    }
    case TextEncoding::Windows1252: {
        const QString text = QString::fromUtf8(utf8);
        QByteArray out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const auto byte = unicodeToCp1252(text[i].unicode());
            if (!byte)
                return std::nullopt;
            out.append(char(*byte));
        }
        return out;
    }
    }
    return std::nullopt;
}

QString formatName(const TextFileFormat &format)
{
    switch (format.encoding) {
    case TextEncoding::Utf8:
        return format.byteOrderMark ? QStringLiteral("UTF-8 with BOM") : QStringLiteral("UTF-8");
    case TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16 BE");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return {};
}

ReadResult readTextFile(const QString &path)
{
    ReadResult result;
    FileBytes read = readRegularFile(path);
    if (!read.error.isEmpty()) {
        result.error = read.error;
        return result;
    }
    result.snapshot = FileSnapshot::of(path, read.bytes);
    result.text = decodeText(read.bytes);
    return result;
}

namespace {

// Takes the bytes of a file as they are read and hands them on, as UTF-8, in runs of whole lines:
// a run ends just after a line feed, which no character's bytes and no line end straddle, so each
// run is checked and its line ends counted on its own. A file is UTF-8 when all of it is; a byte
// that is not, after nothing but ASCII (the way of a Windows-1252 script), turns the rest into
// Windows-1252 as it comes, the text handed on so far being the same in both.
class TextRuns
{
public:
    explicit TextRuns(TextSink &sink, bool windows1252 = false)
        : m_sink(sink)
        , m_windows1252(windows1252)
    {}

    // False once the text is found not to be UTF-8 after text that was not ASCII.
    bool add(QByteArrayView bytes, bool last)
    {
        if (!m_bomChecked) {
            if (m_pending.size() + bytes.size() < 3 && !last) {
                m_pending.append(bytes);
                return true;
            }
            m_bomChecked = true;
            if (!m_pending.isEmpty()) { // a file of a byte or two
                m_pending.append(std::exchange(bytes, {}));
                m_bom = !m_windows1252 && m_pending.startsWith(utf8Bom);
                if (m_bom)
                    m_pending.remove(0, 3);
            } else if (!m_windows1252 && bytes.startsWith(utf8Bom)) {
                m_bom = true;
                bytes = bytes.sliced(3);
            }
        }
        // Only a line left over from the last piece is copied, completed with the start of this
        // one; the piece's whole lines are handed on from where they were read.
        if (!m_pending.isEmpty()) {
            const qsizetype lineEnd = bytes.indexOf('\n') + 1;
            if (lineEnd == 0 && !last) {
                m_pending.append(bytes);
                return true;
            }
            const qsizetype taken = lineEnd == 0 ? bytes.size() : lineEnd;
            m_pending.append(bytes.first(taken));
            bytes = bytes.sliced(taken);
            if (!takeRun(m_pending))
                return false;
            m_pending.resize(0);
        }
        const qsizetype runEnd = last ? bytes.size() : bytes.lastIndexOf('\n') + 1;
        if (runEnd > 0 && !takeRun(bytes.first(runEnd)))
            return false;
        m_pending.append(bytes.sliced(runEnd));
        return true;
    }

    TextFileFormat format() const
    {
        return {m_windows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8,
                m_bom,
                m_ends.dominant()};
    }

private:
    static constexpr QByteArrayView utf8Bom{"\xEF\xBB\xBF"};

    bool takeRun(QByteArrayView run)
    {
        if (!m_windows1252) {
            if (isValidUtf8(run)) {
                m_asciiSoFar = m_asciiSoFar && asciiPrefixLength(run) == run.size();
                hand(run);
                return true;
            }
            if (!m_asciiSoFar || m_bom)
                return false;
            m_windows1252 = true;
        }
        // One buffer for every run: a fresh megabyte a piece came from the system each time,
        // and opening a Windows-1252 script took a sixth longer than the same script in UTF-8.
        m_converted.resize(0);
        appendCp1252AsUtf8(m_converted, run);
        hand(m_converted);
        return true;
    }

    void hand(QByteArrayView utf8)
    {
        m_ends.count(utf8);
        m_sink.append(utf8);
    }

    TextSink &m_sink;
    QByteArray m_pending;
    QByteArray m_converted;
    bool m_windows1252;
    bool m_asciiSoFar = true;
    bool m_bomChecked = false;
    bool m_bom = false;
    LineEndCounts m_ends;
};

} // namespace

ReadResult readTextFileInto(const QString &path, TextSink &sink)
{
    ReadResult result;
    ContentHash hash;
    qint64 size = 0;
    bool utf16 = false;
    auto reading = std::make_unique<TextRuns>(sink);
    bool fits = true;
    result.error = readRegularFileInPieces(
        path,
        [&sink](qint64 bytes) { sink.expect(bytes); },
        [&](QByteArrayView piece) {
            // UTF-16 is known by its first bytes: that file is read again, whole.
            if (size == 0 && (piece.startsWith("\xFF\xFE") || piece.startsWith("\xFE\xFF")))
                utf16 = true;
            hash.add(piece);
            size += piece.size();
            fits = fits && !utf16 && reading->add(piece, false);
            return fits;
        });
    if (!result.error.isEmpty())
        return result;
    if (fits && reading->add({}, true)) {
        result.snapshot = FileSnapshot::of(path, size, hash.value());
        result.text.format = reading->format();
        return result;
    }
    sink.discard();
    if (!utf16) {
        // Not UTF-8 after text that was: read again, as Windows-1252 from the start, still in
        // pieces, so no second copy of a large file is ever held.
        ContentHash again;
        size = 0;
        reading = std::make_unique<TextRuns>(sink, true);
        result.error = readRegularFileInPieces(
            path,
            [&sink](qint64 bytes) { sink.expect(bytes); },
            [&](QByteArrayView piece) {
                again.add(piece);
                size += piece.size();
                return reading->add(piece, false);
            });
        if (!result.error.isEmpty())
            return result;
        reading->add({}, true);
        result.snapshot = FileSnapshot::of(path, size, again.value());
        result.text.format = reading->format();
        return result;
    }
    result = readTextFile(path);
    if (result.error.isEmpty()) {
        sink.append(result.text.utf8);
        result.text.utf8.clear();
    }
    return result;
}

} // namespace Korveth
