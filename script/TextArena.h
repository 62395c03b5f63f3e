#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace Korveth {

// The texts of many lines in two allocations rather than one each: a text handed over whole is
// kept as it is (shared, not copied) and lines added later are appended to one buffer. A million
// lines then cost no million allocations, and an edit moves small fixed records only. The owner
// of the spans calls compacted() now and then to drop what edits left behind.
class TextArena
{
public:
    // Eight bytes: a text of up to 4 G characters, a line of up to 2 G.
    struct Span
    {
        std::uint32_t start = 0;
        std::uint32_t length : 31 = 0;
        std::uint32_t added : 1 = 0; // in the buffer of added lines, not in the text kept whole
    };

    QStringView view(Span span) const
    {
        return QStringView(span.added ? m_added : m_whole).sliced(span.start, span.length);
    }
    // A view is valid until the next append.
    Span append(QStringView text);
    // Room for that many more characters, so that a whole text appended line by line is not
    // copied again each time the buffer grows.
    void reserve(qsizetype characters) { m_added.reserve(m_added.size() + characters); }
    // Keeps the text as the arena's whole text; only while nothing else is held.
    bool adopt(const QString &text);
    Span inWhole(qsizetype start, qsizetype length) const
    {
        return {std::uint32_t(start), std::uint32_t(length), 0};
    }
    // Characters held, in use or not.
    qsizetype held() const { return m_whole.size() + m_added.size(); }
    // A fresh arena holding only the spans the visitor is handed, each rewritten to its new place.
    template<typename ForEachSpan> void compact(ForEachSpan forEachSpan, qsizetype liveCharacters)
    {
        TextArena fresh;
        fresh.m_added.reserve(liveCharacters);
        forEachSpan([&](Span &span) { span = fresh.append(view(span)); });
        *this = std::move(fresh);
    }

private:
    QString m_whole;
    QString m_added;
};

} // namespace Korveth
