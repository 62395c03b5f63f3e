#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <cstdint>
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
    // Eight bytes: a text of up to 4 G units, a line of up to 1 G.
    struct Span
    {
        std::uint32_t start = 0;
        std::uint32_t length : 30 = 0;
        Store store : 2 = Store::Whole;

        static Span at(qsizetype start, qsizetype length, Store store)
        {
            Span span;
            span.start = std::uint32_t(start);
            span.length = std::uint32_t(length);
            span.store = store;
            return span;
        }
    };

    LineText text(Span span) const
    {
        switch (span.store) {
        case Store::Whole:
            return LineText(QStringView(m_whole).sliced(span.start, span.length));
        case Store::Added:
            return LineText(QStringView(m_added).sliced(span.start, span.length));
        case Store::Bytes:
            return LineText(QByteArrayView(m_bytes).sliced(span.start, span.length));
        case Store::BytesBefore:
            break;
        }
        return LineText(QByteArrayView(m_bytesBefore).sliced(span.start, span.length));
    }
    // A text is valid until the next append.
    Span append(QStringView text);
    // Room for that many more characters, so that a whole text appended line by line is not
    // copied again each time the buffer grows.
    void reserve(qsizetype characters) { m_added.reserve(m_added.size() + characters); }
    // Keeps the text as the arena's whole text; only while no UTF-16 text is held.
    bool adopt(const QString &text);
    Span inWhole(qsizetype start, qsizetype length) const
    {
        return Span::at(start, length, Store::Whole);
    }

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
    Span inBytes(qsizetype start, qsizetype length) const
    {
        return Span::at(start, length, Store::Bytes);
    }

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
        forEachSpan([&live](Span &span) {
            if (span.store == Store::Whole || span.store == Store::Added)
                live += span.length;
        });
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
    QString m_whole;
    QString m_added;
    QByteArray m_bytes;
    QByteArray m_bytesBefore;
};

} // namespace Korveth
