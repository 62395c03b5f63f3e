#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace Korveth {

// A line's characters as the arena hands them out: a view into the arena, or the line's UTF-8
// bytes decoded here. It is neither copied nor moved, and a temporary one gives no view, so that
// no view outlives the characters it points into.
class LineText
{
public:
    explicit LineText(QStringView characters)
        : m_view(characters)
    {}
    explicit LineText(QByteArrayView utf8);
    LineText(const LineText &) = delete;
    LineText &operator=(const LineText &) = delete;

    qsizetype size() const { return m_view.size(); }
    QStringView view() const & { return m_view; }
    QStringView view() const && = delete;
    operator QStringView() const & { return m_view; }
    operator QStringView() const && = delete;

private:
    QVarLengthArray<QChar, 160> m_widened;
    QStringView m_view;
};

// The texts of many lines in few allocations rather than one each. A line of the UTF-8 text the
// owner holds is kept as its place there (shared, not copied: the owner keeps that text anyway),
// where a UTF-16 copy of a long script took twice its size again; it is decoded as it is read.
// Lines given as UTF-16 stay so: a text handed over whole as it is, and lines added later
// appended to one buffer.
// A million lines then cost no million allocations, and an edit moves small fixed records only.
// The owner of the spans calls compact() now and then to drop what edits left behind.
class TextArena
{
public:
    enum class Store : std::uint32_t {
        Whole,       // the UTF-16 text kept whole
        Added,       // the buffer of added UTF-16 lines
        Bytes,       // the UTF-8 text
        BytesBefore, // the UTF-8 text given before the last one, while the owner swaps them
    };
    // Four bytes: where the line starts, in a text of up to 1 G units. It ends at the first line
    // end or the end of its text: every store holds its lines with their ends, the added ones
    // each with an LF after it (a line holds none of its own). A long script's every line was
    // four bytes more for its length.
    struct Span
    {
        std::uint32_t start : 30 = 0;
        Store store : 2 = Store::Whole;

        static Span at(qsizetype start, Store store)
        {
            Span span;
            span.start = std::uint32_t(start);
            span.store = store;
            return span;
        }
    };

    LineText text(Span span) const
    {
        return onLine(span, [](auto line) { return LineText(line); });
    }
    // The line's length where it is held, in bytes or UTF-16 units: never fewer than its
    // characters' UTF-16 units.
    qsizetype extent(Span span) const
    {
        return onLine(span, [](auto line) { return line.size(); });
    }
    // The UTF-16 units the arena holds for the line: none for a line of the UTF-8 text.
    qsizetype unitsHeld(Span span) const
    {
        return span.store == Store::Whole || span.store == Store::Added ? extent(span) : 0;
    }
    // A text is valid until the next append.
    Span append(QStringView text);
    // Room for that many more characters, so that a whole text appended line by line is not
    // copied again each time the buffer grows.
    void reserve(qsizetype characters) { m_added.reserve(m_added.size() + characters); }
    // Keeps the text as the arena's whole text; only while no UTF-16 text is held.
    bool adopt(const QString &text);
    Span inWhole(qsizetype start) const { return Span::at(start, Store::Whole); }

    // The UTF-8 text lines are found in from now on. The one before stays readable
    // (Store::BytesBefore) until dropBytesBefore(): spans of the lines being replaced say so.
    void setBytes(QByteArray utf8) { m_bytesBefore = std::exchange(m_bytes, std::move(utf8)); }
    // Or with the text before given: the part of it the replaced lines are read from, once their
    // spans are placed in it.
    void setBytes(QByteArray utf8, QByteArray before)
    {
        m_bytes = std::move(utf8);
        m_bytesBefore = std::move(before);
    }
    void dropBytesBefore() { m_bytesBefore = QByteArray(); }
    Span inBytes(qsizetype start) const { return Span::at(start, Store::Bytes); }

    // UTF-16 units held, in use or not.
    qsizetype held() const { return m_whole.size() + m_added.size(); }
    // A fresh arena holding only the spans the visitor is handed, each rewritten to its new place.
    // A line's place in the UTF-8 text stays: that text is all in use.
    template<typename ForEachSpan> void compact(ForEachSpan forEachSpan)
    {
        TextArena fresh;
        fresh.m_bytes = m_bytes;
        fresh.m_bytesBefore = m_bytesBefore;
        qsizetype live = 0;
        forEachSpan([&](Span &span) { live += unitsHeld(span) + 1; });
        fresh.m_added.reserve(live);
        forEachSpan([&](Span &span) {
            if (span.store == Store::Whole || span.store == Store::Added) {
                const LineText characters = text(span);
                span = fresh.append(characters);
            }
        });
        *this = std::move(fresh);
    }

private:
    // What f makes of the line where it is held (a view of UTF-16 units or of UTF-8 bytes).
    template<typename F> std::invoke_result_t<F, QStringView> onLine(Span span, F f) const
    {
        switch (span.store) {
        case Store::Whole:
            return f(lineIn(QStringView(m_whole), span.start));
        case Store::Added:
            return f(lineIn(QStringView(m_added), span.start));
        case Store::Bytes:
            return f(lineIn(QByteArrayView(m_bytes), span.start));
        case Store::BytesBefore:
            break;
        }
        return f(lineIn(QByteArrayView(m_bytesBefore), span.start));
    }
    // The line from start to its end; an empty one past the text (bytes no longer given).
    template<typename Text> static Text lineIn(Text text, qsizetype start)
    {
        if (start >= text.size())
            return Text();
        const auto *const first = text.data() + start;
        const auto *const last = text.data() + text.size();
        const auto *const end
            = std::find_if(first, last, [](auto c) { return c == u'\n' || c == u'\r'; });
        return Text(first, end - first);
    }

    QString m_whole;
    QString m_added;
    QByteArray m_bytes;
    QByteArray m_bytesBefore;
};

} // namespace Korveth
