#include "EditorRegistry.h"

namespace Korveth {

void EditorRegistry::registerCommand(int number, const QString &name, const QString &description)
{
    m_commands.insert(number, {name, description});
}

void EditorRegistry::registerHotKey(QKeyCombination key, int number)
{
    unregisterHotKey(key);
    m_hotKeys.append({key, number});
}

int EditorRegistry::commandForKey(QKeyCombination key) const
{
    for (const auto &[k, number] : m_hotKeys) {
        if (k == key)
            return number;
    }
    return 0;
}

int EditorRegistry::hotKeyCount(int number) const
{
    int count = 0;
    for (const auto &hotKey : m_hotKeys)
        count += hotKey.second == number;
    return count;
}

QKeyCombination EditorRegistry::hotKey(int number, int index) const
{
    for (const auto &[k, n] : m_hotKeys) {
        if (n == number && index-- == 0)
            return k;
    }
    return {};
}

void EditorRegistry::unregisterHotKey(QKeyCombination key)
{
    m_hotKeys.removeIf([key](const auto &hotKey) { return hotKey.first == key; });
}

const EditorRegistry::Command *EditorRegistry::command(int number) const
{
    auto it = m_commands.constFind(number);
    return it == m_commands.constEnd() ? nullptr : &*it;
}

void EditorRegistry::removeBuiltInBindings(BoundCommand builtInCommand)
{
    if (!m_removedBuiltIns.contains(builtInCommand))
        m_removedBuiltIns.append(builtInCommand);
}

void EditorRegistry::reserveKey(QKeyCombination key)
{
    if (!m_reservedKeys.contains(key))
        m_reservedKeys.append(key);
}

} // namespace Korveth
