#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMutex>

#include <utility>

namespace Korveth {

// A text that one thread owns and changes, in place where no one else holds it, while any other
// thread may take it at any time: what it takes is shared, not copied, and the owner's next
// change copies the bytes first only while someone still holds them.
class SharedText
{
public:
    SharedText() = default;
    // Moved only while no other thread reads either.
    SharedText(SharedText &&other) noexcept
        : m_bytes(std::move(other.m_bytes))
    {}
    SharedText &operator=(SharedText &&other) noexcept
    {
        set(std::move(other.m_bytes));
        return *this;
    }

    // The owner's thread only: no lock, as only the owner changes it.
    QByteArrayView bytes() const { return m_bytes; }
    const QByteArray &array() const { return m_bytes; }
    // Any thread.
    QByteArray taken() const
    {
        const QMutexLocker lock(&m_lock);
        return m_bytes;
    }
    // The owner's changes.
    void set(QByteArray bytes)
    {
        QByteArray before;
        const QMutexLocker lock(&m_lock);
        before = std::exchange(m_bytes, std::move(bytes)); // freed once the lock is let go
    }
    // Bytes from the place, that many of them, replaced by the ones inserted (which must not
    // point into this text).
    void replace(qsizetype from, qsizetype removed, QByteArrayView inserted);

private:
    mutable QMutex m_lock;
    QByteArray m_bytes;
};

} // namespace Korveth
