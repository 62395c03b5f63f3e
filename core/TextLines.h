#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The two ways a script text is cut into lines. The editor and the files know three line ends
// (CR LF, LF and a lone CR); the checker and the debugger cut an editor's Text at CR LF only.
// Every cut in the program goes through these two, on bytes (UTF-8) or on characters.
namespace Korveth {

namespace detail {
inline char16_t codeUnit(QChar c)
{
    return c.unicode();
}
inline char16_t codeUnit(char c)
{
    return static_cast<unsigned char>(c);
}
} // namespace detail

// Calls onLine(line, lineEnd) for every line of the text, where lineEnd is the line end that
// follows it (CR LF, LF or CR), empty after the last line. A text ending with a line end has one
// more, empty, line; an empty text has none.
template<typename View, typename OnLine> void forEachEditorLine(View text, OnLine onLine)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = detail::codeUnit(text[i]);
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype endLength
            = (c == u'\r' && i + 1 < n && detail::codeUnit(text[i + 1]) == u'\n') ? 2 : 1;
        onLine(text.sliced(start, i - start), text.sliced(i, endLength));
        i += endLength - 1;
        start = i + 1;
    }
    onLine(text.sliced(start), text.sliced(n));
}

// Calls onLine(line) for every line of the text cut at CR LF only; a lone CR or LF stays inside
// its line. A text ending with CR LF has one more, empty, line; an empty text has none.
template<typename View, typename OnLine> void forEachCrLfLine(View text, OnLine onLine)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    qsizetype start = 0;
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (detail::codeUnit(text[i]) == u'\r' && detail::codeUnit(text[i + 1]) == u'\n') {
            onLine(text.sliced(start, i - start));
            start = i + 2;
            ++i;
        }
    }
    onLine(text.sliced(start));
}

// Walks the lines of a text a fixed number of lines ahead of a reader of it, for work asked for
// in advance. Lines are cut at LF alone: a hint may be a line off in a file of lone CRs.
class LinesAhead
{
public:
    LinesAhead(QByteArrayView text, int ahead)
        : m_text(text)
    {
        for (int i = 0; i < ahead; ++i)
            next();
    }
    // The next line (empty past the end).
    QByteArrayView next()
    {
        if (m_at >= m_text.size())
            return {};
        const qsizetype end = m_text.indexOf('\n', m_at);
        const qsizetype stop = end < 0 ? m_text.size() : end;
        const QByteArrayView line = m_text.sliced(m_at, stop - m_at);
        m_at = stop + 1;
        return line;
    }

private:
    QByteArrayView m_text;
    qsizetype m_at = 0;
};

// A long text cut in two for two threads, at the first LF past its middle: the lines of the first
// half, then those of the second, are the text's lines (forEachEditorLine).
struct TextHalves
{
    QByteArrayView first;  // up to the line end at the cut, without it
    QByteArrayView second; // after it
};
// None when the text is too short for a thread to pay (under 1 MB), the machine has one core, or
// no line ends past the middle.
std::optional<TextHalves> halvesForTwoThreads(QByteArrayView text);

QList<QStringView> splitAtCrLf(QStringView text);
QList<QStringView> splitEditorLines(QStringView text);

// The lines joined with CR LF (no CR LF after the last).
QString joinWithCrLf(const QList<QStringView> &lines);

// The text with every line end (CR LF, LF, CR) written as the given one.
QByteArray withLineEnds(QByteArrayView utf8, QByteArrayView lineEnd);

enum class LineEnding { CrLf, Lf, Cr };

// How many lines of a text end in each way, counted over the pieces it is handed in.
struct LineEndCounts
{
    qsizetype crlf = 0;
    qsizetype lf = 0;
    qsizetype cr = 0;

    void count(QByteArrayView text);
    // The most frequent; CR LF when there is none.
    LineEnding dominant() const;
};

// The most frequent line end of a text; CR LF when there is none.
LineEnding dominantLineEnding(QByteArrayView text);

// The length of the ASCII run at the start of the bytes, read eight at a time.
qsizetype asciiPrefixLength(QByteArrayView bytes);
// Copies the leading ASCII bytes to out as UTF-16, stopping at the first byte that is not;
// returns how many were copied.
qsizetype widenAscii(QByteArrayView bytes, QChar *out);

// A whole text of UTF-8 as characters, its buffer asked for huge pages: a script of a million
// lines is decoded without a page fault every four kilobytes.
QString decodeLargeUtf8(QByteArrayView utf8);

// Turns lines of UTF-8 into characters one at a time in a buffer it reuses, so that a large text
// is read line by line without ever being held as characters whole. A view it returns lasts
// until the next call.
class LineDecoder
{
public:
    QStringView decode(QByteArrayView utf8Line);

private:
    QString m_buffer;
};

} // namespace Korveth
