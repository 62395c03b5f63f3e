#include "LogReadAhead.h"

namespace Korveth {

LogReadAhead::LogReadAhead(QString path, std::function<void()> told)
    : m_told(std::move(told))
    , m_reader([this, path = std::move(path)] { read(path); })
{}

LogReadAhead::~LogReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_room.notify_all();
    m_reader.join();
}

void LogReadAhead::read(const QString &path)
{
    LogSource log(path);
    QString error = log.error();
    for (bool more = error.isEmpty(); more;) {
        const GameLine *line = log.next();
        bool wasEmpty = false;
        {
            std::unique_lock lock(m_mutex);
            m_room.wait(lock, [this] {
                return m_stopping
                       || (m_ready.size() < maxLinesAhead
                           && m_charactersReady < maxCharactersAhead);
            });
            if (m_stopping)
                return;
            if (!line) {
                more = false;
                break;
            }
            wasEmpty = m_ready.empty();
            m_ready.push_back(line->text().toString());
            m_charactersReady += m_ready.back().size();
        }
        if (wasEmpty)
            m_told();
    }
    if (error.isEmpty())
        error = log.error(); // a read that failed midway
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_ended = true;
        m_error = error;
    }
    m_told();
}

const GameLine *LogReadAhead::next()
{
    if (m_taken.empty()) {
        // All the lines read so far are taken at once: one lock a batch, not one a line.
        {
            const std::lock_guard lock(m_mutex);
            if (m_ready.empty())
                return nullptr;
            m_taken.swap(m_ready);
            m_charactersReady = 0;
        }
        m_room.notify_one();
    }
    m_line.setText(std::move(m_taken.front()));
    m_taken.pop_front();
    ++m_lineNumber;
    return &m_line;
}

bool LogReadAhead::mayGrow() const
{
    if (!m_taken.empty())
        return true;
    const std::lock_guard lock(m_mutex);
    return !m_ended || !m_ready.empty();
}

QString LogReadAhead::error() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace Korveth
