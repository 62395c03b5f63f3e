#pragma once

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QString>

namespace Korveth {

// The services every editor shares: commands registered by number with their hot keys, and the
// editor's own key bindings that the program takes away so the main window's menu gets the keys.
class EditorRegistry
{
public:
    struct Command
    {
        QString name;
        QString description;
    };

    // Registering a number or key again replaces the earlier registration.
    void registerCommand(int number, const QString &name, const QString &description);
    void registerHotKey(QKeyCombination key, int number);
    // The number a key runs, or 0 when the key runs no registered command.
    int commandForKey(QKeyCombination key) const;
    int hotKeyCount(int number) const;
    QKeyCombination hotKey(int number, int index) const;
    void unregisterHotKey(QKeyCombination key);
    const Command *command(int number) const;

    // The editor's built-in commands whose key bindings the program can take, by the numbers it
    // has always used for them.
    enum BoundCommand {
        Cut = 197,
        Copy = 140,
        Paste = 198,
        Undo = 161,
        Redo = 129,
        SelectAll = 139,
        Duplicate = 160,
    };
    // Editors created afterwards come without the command's bindings.
    void removeBuiltInBindings(BoundCommand command);
    const QList<int> &removedBuiltInBindings() const { return m_removedBuiltIns; }

    // Keys the program's menus use: editors created afterwards drop their own bindings on them,
    // so the menu command runs (registered hot keys still come first inside an editor).
    void reserveKey(QKeyCombination key);
    bool isReserved(QKeyCombination key) const { return m_reservedKeys.contains(key); }

private:
    QHash<int, Command> m_commands;
    QList<QPair<QKeyCombination, int>> m_hotKeys;
    QList<int> m_removedBuiltIns;
    QList<QKeyCombination> m_reservedKeys;
};

} // namespace Korveth
