#include "TextLines.h"

#include "SystemMemory.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstring>
#include <thread>

namespace Korveth {

std::optional<TextHalves> halvesForTwoThreads(QByteArrayView text)
{
    // Below this, a thread costs more than it saves.
    constexpr qsizetype leastBytes = 1 << 20;
    if (text.size() < leastBytes || std::thread::hardware_concurrency() < 2)
        return std::nullopt;
    const qsizetype cut = text.indexOf('\n', text.size() / 2);
    if (cut < 0 || cut + 1 == text.size()) // the last line, empty, would be lost
        return std::nullopt;
    return TextHalves{text.first(cut - (text[cut - 1] == '\r')), text.sliced(cut + 1)};
}

QList<QStringView> splitAtCrLf(QStringView text)
{
    QList<QStringView> lines;
    forEachCrLfLine(text, [&](QStringView line) { lines.append(line); });
    return lines;
}

QList<QStringView> splitEditorLines(QStringView text)
{
    QList<QStringView> lines;
    forEachEditorLine(text, [&](QStringView line, QStringView) { lines.append(line); });
    return lines;
}

QString joinWithCrLf(const QList<QStringView> &lines)
{
    qsizetype size = 0;
    for (QStringView line : lines)
        size += line.size() + 2;
    QString joined;
    joined.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += u"\r\n";
        joined += lines[i];
    }
    return joined;
}

QByteArray withLineEnds(QByteArrayView utf8, QByteArrayView lineEnd)
{
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 16);
    forEachEditorLine(utf8, [&](QByteArrayView line, QByteArrayView end) {
        out += line;
        if (!end.isEmpty())
            out += lineEnd;
    });
    return out;
}

qsizetype asciiPrefixLength(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    // Thirty-two bytes a step, which the compiler does in one or two vector operations: a whole
    // script is asked at once.
    for (; i + 32 <= n; i += 32) {
        std::uint64_t words[4];
        std::memcpy(words, p + i, 32);
        if ((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL)
            break;
    }
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < n && (p[i] & 0x80) == 0)
        ++i;
    return i;
}

qsizetype widenAscii(QByteArrayView bytes, QChar *out)
{
    const char *in = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
        // From the loaded word, not from in: out may alias the bytes as far as the compiler
        // knows, which would keep it from doing the eight at once.
        for (int k = 0; k < 8; ++k)
            out[i + k] = QChar(char16_t((word >> (8 * k)) & 0xFF));
    }
    for (; i < n && (in[i] & 0x80) == 0; ++i)
        out[i] = QChar(char16_t(in[i]));
    return i;
}

QString decodeLargeUtf8(QByteArrayView utf8)
{
    const qsizetype n = utf8.size();
    QString text(n + 1,
                 Qt::Uninitialized); // never more units than bytes; the decoder may ask one more
    QChar *const start = text.data();
    preferHugePages(start, std::size_t(n + 1) * sizeof(QChar));
    const qsizetype ascii = widenAscii(utf8, start);
    QChar *end = start + ascii;
    if (ascii < n) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        end = decoder.appendToBuffer(end, utf8.sliced(ascii));
    }
    text.truncate(end - start);
    return text;
}

QStringView LineDecoder::decode(QByteArrayView utf8Line)
{
    const qsizetype n = utf8Line.size();
    if (m_buffer.size() <= n) // the decoder may ask for one unit more than it writes
        m_buffer.resize(qMax(n + 1, 2 * m_buffer.size()));
    QChar *out = m_buffer.data();
    // Scripts are nearly all ASCII: copy that straight, and decode properly from the first byte
    // that is not.
    const qsizetype i = widenAscii(utf8Line, out);
    if (i == n)
        return QStringView(m_buffer).first(n);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = decoder.appendToBuffer(out + i, utf8Line.sliced(i));
    return QStringView(m_buffer).first(end - out);
}

namespace {

// The top bit of each byte of the word that equals c, and no other bit.
std::uint64_t bytesEqual(std::uint64_t word, char c)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (ones * static_cast<unsigned char>(c));
    return ~(((x & low7) + low7) | x | low7);
}

// The sum of the word's eight bytes.
qsizetype sumOfBytes(std::uint64_t bytes)
{
    constexpr std::uint64_t lowBytes = 0x00FF00FF00FF00FFULL;
    const std::uint64_t pairs = (bytes & lowBytes) + ((bytes >> 8) & lowBytes);
    return qsizetype((pairs * 0x0001000100010001ULL) >> 48);
}

} // namespace

void LineEndCounts::count(QByteArrayView text)
{
    // Eight bytes a step: the open of a long script and the command line's cut wait for this.
    // Each step adds its flags to eight byte-wide counters, summed before they can overflow (a
    // population count is a call on processors without the instruction).
    const char *t = text.data();
    const qsizetype n = text.size();
    qsizetype crs = 0;
    qsizetype lfs = 0;
    qsizetype pairs = 0;
    qsizetype i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t crCounters = 0;
        std::uint64_t lfCounters = 0;
        std::uint64_t pairCounters = 0;
        int steps = 0;
        const auto drain = [&] {
            crs += sumOfBytes(crCounters);
            lfs += sumOfBytes(lfCounters);
            pairs += sumOfBytes(pairCounters);
            crCounters = lfCounters = pairCounters = 0;
            steps = 0;
        };
        for (; i + 16 <= n; i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, t + i, sizeof word);
            const std::uint64_t lf = bytesEqual(word, '\n');
            const std::uint64_t cr = bytesEqual(word, '\r');
            // Each byte's flag for an LF in the byte after it.
            const std::uint64_t lfAfter = (lf >> 8) | (std::uint64_t(t[i + 8] == '\n') << 63);
            crCounters += cr >> 7;
            lfCounters += lf >> 7;
            pairCounters += (cr & lfAfter) >> 7;
            if (++steps == 255)
                drain();
        }
        drain();
    }
    for (; i < n; ++i) {
        crs += t[i] == '\r';
        lfs += t[i] == '\n';
        pairs += t[i] == '\r' && i + 1 < n && t[i + 1] == '\n';
    }
    crlf += pairs;
    cr += crs - pairs;
    lf += lfs - pairs;
}

LineEnding LineEndCounts::dominant() const
{
    if (lf > crlf && lf >= cr)
        return LineEnding::Lf;
    if (cr > crlf && cr > lf)
        return LineEnding::Cr;
    return LineEnding::CrLf;
}

LineEnding dominantLineEnding(QByteArrayView text)
{
    LineEndCounts counts;
    counts.count(text);
    return counts.dominant();
}

} // namespace Korveth
