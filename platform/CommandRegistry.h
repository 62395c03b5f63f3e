#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace Korveth {

// Commands by their menu key ("saveas", "findnext"). Each part of the program registers the
// handlers for the keys it serves; the main window's menus, toolbar and tab menu look them up.
class CommandRegistry
{
public:
    using Handler = std::function<void()>;

    // One handler a key: registering a key again replaces its handler.
    void add(const QString &key, Handler handler) { m_handlers.insert(key, std::move(handler)); }
    bool has(const QString &key) const { return m_handlers.contains(key); }
    // Runs the key's handler; false when no part of the program serves the key.
    bool run(const QString &key) const
    {
        const auto handler = m_handlers.constFind(key);
        if (handler == m_handlers.constEnd())
            return false;
        (*handler)();
        return true;
    }
    QStringList keys() const { return m_handlers.keys(); }

private:
    QHash<QString, Handler> m_handlers;
};

} // namespace Korveth
