// korveth-dap: the dry run as a debug adapter for other editors, on standard input and output.
#include "DapServer.h"
#include "MessageFraming.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Requests read on a thread of their own, so that a long run still hears pause and disconnect.
class Inbox
{
public:
    void put(Korveth::MessageReader::Read read)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_reads.push_back(std::move(read));
        }
        m_ready.notify_one();
    }
    // The next read; waits for one when wait is true, else nothing when none is there.
    std::optional<Korveth::MessageReader::Read> take(bool wait)
    {
        std::unique_lock lock(m_mutex);
        if (wait)
            m_ready.wait(lock, [this] { return !m_reads.empty(); });
        if (m_reads.empty())
            return std::nullopt;
        Korveth::MessageReader::Read read = std::move(m_reads.front());
        m_reads.pop_front();
        return read;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Korveth::MessageReader::Read> m_reads;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool outputGone = false;
    Korveth::DapServer server([&](const QByteArray &body) {
        if (!outputGone)
            outputGone = !Korveth::writeMessage(stdout, body);
    });
    // The reader is left blocked in its read when the session ends, and the process ends around
    // it: the inbox it fills is never destroyed.
    static auto *const inbox = new Inbox;
    std::thread([] {
        Korveth::MessageReader reader(stdin);
        for (;;) {
            Korveth::MessageReader::Read read = reader.next();
            const bool end = read.status == Korveth::MessageReader::Status::End;
            inbox->put(std::move(read));
            if (end)
                return;
        }
    }).detach();
    while (!server.finished() && !outputGone) {
        if (const auto read = inbox->take(!server.busy())) {
            if (read->status == Korveth::MessageReader::Status::End)
                return 0; // the client went away: a debug session may simply end
            if (read->status == Korveth::MessageReader::Status::Message)
                server.handle(read->body);
            continue;
        }
        server.advance(std::chrono::milliseconds(20));
    }
    std::fflush(stdout);
    return outputGone ? 1 : 0;
}
