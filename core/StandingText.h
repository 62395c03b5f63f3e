#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMutex>

#include <optional>

namespace Korveth {

// The bytes of a text that its owner changes in place (an editor's own buffer), read from other
// threads: where they stand while they stand, and once they have been read, from a copy made as
// they are about to change, until they stand again. A text nobody reads is never copied.
class StandingText
{
public:
    // The owner's: the bytes stand unchanged from now on, until changing() (a view, not a copy).
    void standing(QByteArrayView bytes);
    // The owner's, before it changes them.
    void changing();
    // Any thread: a copy of the bytes as they last stood; none when they changed before anyone
    // read them.
    std::optional<QByteArray> read() const;

private:
    mutable QMutex m_lock;
    bool m_standing = false;
    QByteArrayView m_bytes;
    std::optional<QByteArray> m_copy; // while they do not stand
    mutable bool m_read = false;
};

} // namespace Korveth
