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
    , m_title(new QLabel(QStringLiteral(" Quick Nav")))
    , m_closeButton(new QToolButton)
    , m_pages(new QTabWidget)
    , m_fileBrowser(new FileBrowser)
    , m_quickNav(new QuickNav)
    , m_labelsPage(new LabelsPage)
{
    setObjectName(QStringLiteral("Picture2"));
    m_title->setObjectName(QStringLiteral("lblTitle"));
    m_closeButton->setObjectName(QStringLiteral("cmdX"));
    m_closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setToolTip(QStringLiteral("Close"));
    m_closeButton->setAccessibleName(QStringLiteral("Close Quick Nav"));
    m_pages->setObjectName(QStringLiteral("tbs"));
    m_pages->setAccessibleName(QStringLiteral("Quick Nav pages"));
    auto *commands = new QWidget;
    commands->setObjectName(QStringLiteral("Picture5"));
    auto *commandsLayout = new QVBoxLayout(commands);
    commandsLayout->setContentsMargins(0, 2, 0, 0);
    commandsLayout->addWidget(m_quickNav);
    m_pages->addTab(m_fileBrowser, QStringLiteral("Files"));
    m_pages->addTab(commands, QStringLiteral("Commands"));
    m_pages->addTab(m_labelsPage, QStringLiteral("Labels"));
    // Three pages in a narrow pane: tighter tabs keep all three in sight.
    m_pages->setUsesScrollButtons(false);
    m_pages->setElideMode(Qt::ElideNone);
    m_pages->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));

    auto *title = new QHBoxLayout;
    title->addWidget(m_title, 1);
    title->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 0, 2);
    layout->addLayout(title);
    layout->addWidget(m_pages, 1);
    connect(m_closeButton, &QToolButton::clicked, this, &SidePane::closeClicked);
}

} // namespace Korveth
