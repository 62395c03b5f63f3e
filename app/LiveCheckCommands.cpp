#include "LiveCheckCommands.h"

#include "CommandRegistry.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "LiveCheckSettings.h"
#include "LiveDiagnostics.h"
#include "MainMenus.h"
#include "frmDoc.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>

namespace Korveth {

LiveCheckCommands::LiveCheckCommands(DocumentManager &documents,
                                     DocumentArea &area,
                                     LiveCheckSettings &settings,
                                     MainMenus &menus,
                                     QStatusBar &statusBar)
    : QObject(&statusBar)
    , m_documents(documents)
    , m_settings(settings)
    , m_menus(menus)
    , m_panel(new QLabel(&statusBar))
{
    m_panel->setObjectName(QStringLiteral("mistakesPanel"));
    m_panel->setToolTip(QStringLiteral("Mistakes in the active script (Search, Next Mistake)"));
    statusBar.addPermanentWidget(m_panel);
    QAction *toggle = m_menus.action(QStringLiteral("mistakes"));
    toggle->setChecked(settings.enabled());
    connect(&area, &DocumentArea::activated, this, [this](frmDoc *document) {
        follow(document ? &document->live() : nullptr);
    });
    connect(&settings, &LiveCheckSettings::changed, this, [this] {
        m_menus.action(QStringLiteral("mistakes"))->setChecked(m_settings.enabled());
        show(m_followed ? m_followed->mistakeCount() : 0);
    });
    show(0);
}

void LiveCheckCommands::registerIn(CommandRegistry &commands)
{
    commands.add(QStringLiteral("nextmistake"), [this] {
        if (frmDoc *document = m_documents.activeDocument()) {
            if (m_settings.enabled())
                document->live().goToNextMistake();
        }
    });
    commands.add(QStringLiteral("golabel"), [this] {
        if (frmDoc *document = m_documents.activeDocument())
            document->live().goToLabelAtCaret();
    });
    commands.add(QStringLiteral("mistakes"), [this] {
        m_settings.setEnabled(m_menus.action(QStringLiteral("mistakes"))->isChecked());
    });
}

void LiveCheckCommands::follow(LiveDiagnostics *live)
{
    disconnect(m_connection);
    m_followed = live;
    if (live)
        m_connection
            = connect(live, &LiveDiagnostics::mistakesChanged, this, &LiveCheckCommands::show);
    show(live ? live->mistakeCount() : 0);
}

void LiveCheckCommands::show(int count)
{
    if (!m_settings.enabled() || !m_followed) {
        m_panel->clear();
        return;
    }
    m_panel->setText(count == 1 ? QStringLiteral("1 mistake")
                                : QStringLiteral("%1 mistakes").arg(count));
}

} // namespace Korveth
