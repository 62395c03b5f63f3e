#pragma once

#include <QByteArray>

#include <functional>
#include <limits>
#include <optional>

namespace Korveth {

// The one span of a text that edits changed since it was last taken, told as each edit begins:
// the bytes before it and after it are as they were. A reader that keeps the text as it was then
// needs only the span's new bytes, not a copy of the whole text after each key; and the bytes the
// span replaced are read from the text as each edit begins, so that it need keep no copy at all.
class ChangedSpan
{
public:
    // Reads that many bytes of the text as it is, from a place.
    using Reader = std::function<QByteArray(qsizetype from, qsizetype length)>;
    explicit ChangedSpan(Reader read)
        : m_read(std::move(read))
    {}

    struct Change
    {
        qsizetype from = 0;     // the bytes before it, unchanged
        qsizetype removed = 0;  // its length in the text as last taken
        qsizetype inserted = 0; // its length in the text now
        QByteArray before;      // its bytes in the text as last taken

        friend bool operator==(const Change &, const Change &) = default;
    };

    // Before an edit of a text that many bytes long.
    void inserting(qsizetype length, qsizetype at, qsizetype count);
    void removing(qsizetype length, qsizetype at, qsizetype count);
    // The text changed in a way not told (a file loaded into it): only the whole text will do.
    void lose() { m_lost = true; }

    // What changed since the last take, in a text now that many bytes long; nothing when that
    // cannot be told (never taken, lost, or edits that do not add up to the length), and then the
    // whole text is wanted. Either way the next take counts from here.
    std::optional<Change> take(qsizetype length);

private:
    // The span takes in the bytes from start to end of a text that many bytes long.
    void widen(qsizetype length, qsizetype start, qsizetype end);

    Reader m_read;
    QByteArray m_before;
    static constexpr qsizetype untouched = std::numeric_limits<qsizetype>::max();
    qsizetype m_taken = -1; // the text's length when last taken
    qsizetype m_from = untouched;
    qsizetype m_tail = untouched; // the bytes at the end that no edit reached
    bool m_lost = false;
};

} // namespace Korveth
