#include "MainToolbar.h"

#include "MenuKeys.h"

#include "ToolbarIcons.h"

#include <QAction>

namespace Korveth {

namespace {

struct Button
{
    const char *key; // nullptr: a separator
    const char *tooltip;
};

constexpr Button buttons[] = {
    {"new", "New Script"},
    {"open", "Open Script"},
    {"close", "Close Script"},
    {nullptr, nullptr},
    {"save", "Save Script"},
    {nullptr, nullptr},
    {"print", "Print Script"},
    {nullptr, nullptr},
    {"undo", "Undo"},
    {"redo", "Redo"},
    {nullptr, nullptr},
    {"cut", "Cut"},
    {"copy", "Copy"},
    {"paste", "Paste"},
    {"delete", "Delete"},
    {nullptr, nullptr},
    {"prop", "Editor Options"},
    {nullptr, nullptr},
    {"find", "Find"},
    {"findnext", "Find Next"},
    {"findprev", "Find Previous"},
    {nullptr, nullptr},
    {"tilehor", "Tile Horizontal"},
    {"tilever", "Tile Vertical"},
    {"cascade", "Cascade"},
    {nullptr, nullptr},
    {"help", "Help"},
    {"help2", "Click Help"},
    {nullptr, nullptr},
    {"TestScript", "Script Debug"},
    {"RunScript", "Script Runner"},
    {"Gener", "Script Generators"},
};

struct Route
{
    const char *key;
    QLatin1StringView command;
};

// In the order a click's key is compared; the Help button is in none of them.
constexpr Route routes[] = {
    {"new", MenuKey::New},
    {"close", MenuKey::Close},
    {"prop", MenuKey::EditorOptions},
    {"find", MenuKey::Find},
    {"findnext", MenuKey::FindNext},
    {"findprev", MenuKey::FindPrevious},
    {"undo", MenuKey::Undo},
    {"redo", MenuKey::Redo},
    {"tilever", MenuKey::TileVertical},
    {"tilehor", MenuKey::TileHorizontal},
    {"cascade", MenuKey::Cascade},
    {"cut", MenuKey::Cut},
    {"paste", MenuKey::Paste},
    {"copy", MenuKey::Copy},
    {"delete", MenuKey::Delete},
    {"open", MenuKey::Open},
    {"print", MenuKey::Print},
    {"save", MenuKey::Save},
    {"TestScript", MenuKey::ScriptDebug},
    {"RunScript", MenuKey::ScriptRun},
    {"Gener", MenuKey::Generators},
    {"help2", MenuKey::ClickHelp},
};

} // namespace

MainToolbar::MainToolbar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("tBar"));
    setWindowTitle(QStringLiteral("Toolbar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::PreventContextMenu);
    for (const Button &item : buttons) {
        if (!item.key) {
            addSeparator();
            continue;
        }
        const QString key = QLatin1StringView(item.key);
        QAction *action = addAction(toolbarIcon(key), QLatin1StringView(item.tooltip));
        action->setObjectName(key);
        action->setToolTip(QLatin1StringView(item.tooltip));
        connect(action, &QAction::triggered, this, [this, key] { Q_EMIT buttonClicked(key); });
        m_buttons.insert(key, action);
    }
}

QStringList MainToolbar::keys() const
{
    QStringList keys;
    for (const Button &item : buttons) {
        if (item.key)
            keys.append(QLatin1StringView(item.key));
    }
    return keys;
}

QString MainToolbar::commandFor(const QString &key)
{
    for (const Route &route : routes) {
        if (key == QLatin1StringView(route.key))
            return route.command;
    }
    return {};
}

} // namespace Korveth
