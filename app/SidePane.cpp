#include "SidePane.h"

#include "FileBrowser.h"
#include "LabelsPage.h"
#include "QuickNav.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace Korveth {

SidePane::SidePane(QWidget *parent)
    : QWidget(parent)
    , lblTitle(new QLabel(QStringLiteral(" Quick Nav")))
    , cmdX(new QToolButton)
    , tbs(new QTabWidget)
    , files(new FileBrowser)
    , tagsd(new QuickNav)
    , labels(new LabelsPage)
{
    setObjectName(QStringLiteral("Picture2"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    cmdX->setObjectName(QStringLiteral("cmdX"));
    cmdX->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    cmdX->setAutoRaise(true);
    cmdX->setToolTip(QStringLiteral("Close"));
    cmdX->setAccessibleName(QStringLiteral("Close Quick Nav"));
    tbs->setObjectName(QStringLiteral("tbs"));
    tbs->setAccessibleName(QStringLiteral("Quick Nav pages"));
    auto *commands = new QWidget;
    commands->setObjectName(QStringLiteral("Picture5"));
    auto *commandsLayout = new QVBoxLayout(commands);
    commandsLayout->setContentsMargins(0, 2, 0, 0);
    commandsLayout->addWidget(tagsd);
    tbs->addTab(files, QStringLiteral("Files"));
    tbs->addTab(commands, QStringLiteral("Commands"));
    tbs->addTab(labels, QStringLiteral("Labels"));
    // Three pages in a narrow pane: tighter tabs keep all three in sight.
    tbs->setUsesScrollButtons(false);
    tbs->setElideMode(Qt::ElideNone);
    tbs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));

    auto *title = new QHBoxLayout;
    title->addWidget(lblTitle, 1);
    title->addWidget(cmdX);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 0, 2);
    layout->addLayout(title);
    layout->addWidget(tbs, 1);
    connect(cmdX, &QToolButton::clicked, this, &SidePane::closeClicked);
}

} // namespace Korveth
