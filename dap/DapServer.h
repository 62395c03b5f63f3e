#pragma once

#include "ScriptRunner.h"

#include <QJsonObject>
#include <QSet>

#include <functional>
#include <memory>

namespace Korveth {

// The dry run as a Debug Adapter Protocol server, for VS Code, nvim-dap and other clients: one
// script, one thread, its gosubs as the stack; breakpoints by line; step in, over and out;
// scopes for the arguments, the variables, the counter and save, the globals and the pending
// matches. The run happens as the client asks, between its requests.
class DapServer
{
public:
    using Sender = std::function<void(const QByteArray &body)>;

    explicit DapServer(Sender send);
    ~DapServer();

    void handle(const QByteArray &body);
    bool finished() const { return m_disconnected; }

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
    QJsonObject variables(int reference) const;
    // Runs as the request asks: "continue", "next", "stepIn" or "stepOut"; then tells the client
    // where it stopped, or that the run is over.
    void go(const QString &how);
    bool atBreakpoint(int programLine) const;
    void tellStopped(const QString &reason);

    Sender m_send;
    int m_sequence = 0;
    std::unique_ptr<Session> m_session;
    QSet<int> m_breakpoints; // lines of the script, from 1
    bool m_stopOnEntry = false;
    bool m_disconnected = false;
};

} // namespace Korveth
