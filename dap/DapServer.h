#pragma once

#include "ScriptRunner.h"

#include <QJsonObject>
#include <QSet>

#include <QHash>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace Korveth {

// The dry run as a Debug Adapter Protocol server, for VS Code, nvim-dap and other clients: one
// script, one thread, its gosubs as the stack; breakpoints by file and line, in the script and
// the scripts it includes; step in, over and out; pause; scopes for each frame's arguments, the
// variables, the counter and save, the globals and the pending matches. A finding other than the
// script's end stops the run as an exception, with the values that led to it still to be seen.
// A run goes on in slices (advance), so the caller can read requests between them.
class DapServer
{
public:
    using Sender = std::function<void(const QByteArray &body)>;

    explicit DapServer(Sender send);
    ~DapServer();

    void handle(const QByteArray &body);
    bool finished() const { return m_disconnected; }
    // Whether a continue or step is going on: advance() takes it further.
    bool busy() const { return m_going.has_value(); }
    // Runs on until the run stops (and tells the client) or the budget is spent.
    void advance(std::chrono::milliseconds budget);
    // Runs until the run stops: for callers that do not read requests meanwhile.
    void finishGoing();

private:
    struct Session;

    void respond(const QJsonObject &request,
                 bool success,
                 const QJsonObject &body = {},
                 const QString &message = {});
    void event(const QString &name, const QJsonObject &body = {});
    QString launch(const QJsonObject &arguments);
    QJsonObject setBreakpoints(const QJsonObject &arguments);
    QJsonObject stackTrace() const;
    QJsonObject scopes(int frameId) const;
    QJsonObject variables(int reference) const;
    // Starts a run as the request asks: "continue", "next", "stepIn" or "stepOut".
    void go(const QString &how);
    // The run stopped with outcome: tells the client where, or that the run is over.
    void stopped(bool breakpoint);
    bool atBreakpoint(int programLine) const;
    // The program line the client is shown as the current one.
    int shownLine() const;
    void tellStopped(const QString &reason, const QString &text = {});
    void tellEnded();
    // A breakpoint set in a file, as the client will be told of it.
    QJsonObject verify(const QString &key, int line) const;

    struct Going
    {
        QString how;
        qsizetype depth = 0; // the gosub depth it started at
    };

    Sender m_send;
    int m_sequence = 0;
    std::unique_ptr<Session> m_session;
    QHash<QString, QSet<int>> m_breakpoints; // by file (pathKey), lines from 1
    QList<QString> m_fileKeys;               // the run's files' keys, by file index
    std::optional<Going> m_going;
    bool m_started = false; // the first run has begun
    bool m_ended = false;   // the finding was shown; the next request to go ends the session
    bool m_stopOnEntry = false;
    bool m_disconnected = false;
};

} // namespace Korveth
