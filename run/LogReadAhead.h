#pragma once

#include "GameSource.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace Korveth {

// A log read on a thread of its own, a bounded way ahead of the run: the open and every read
// happen there, so whoever runs the script (a window) never waits on the file. While the next
// line is not read yet, next() has none and mayGrow() says more may come; told is called (on the
// reading thread) when lines are ready again, at the end, and when the log cannot be read.
class LogReadAhead final : public GameSource
{
public:
    LogReadAhead(QString path, std::function<void()> told);
    ~LogReadAhead() override;
    LogReadAhead(const LogReadAhead &) = delete;
    LogReadAhead &operator=(const LogReadAhead &) = delete;

    const GameLine *next() override;
    bool mayGrow() const override;
    // Why the log cannot be read; empty while it can.
    QString error() const;

private:
    // Lines kept ahead at most: the older bound keeps memory small however long the lines.
    static constexpr std::size_t maxLinesAhead = 4096;
    static constexpr qsizetype maxCharactersAhead = 4 * 1024 * 1024;

    void read(const QString &path);

    std::function<void()> m_told;
    mutable std::mutex m_mutex;
    std::condition_variable m_room;
    std::deque<QString> m_ready;
    qsizetype m_charactersReady = 0;
    bool m_ended = false;
    bool m_stopping = false;
    QString m_error;
    std::deque<QString> m_taken; // the reader's lines handed over, not yet run: the run's own
    GameLine m_line;
    std::thread m_reader;
};

} // namespace Korveth
