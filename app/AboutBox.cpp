#include "AboutBox.h"

#include "DesignFont.h"
#include "Dialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace Korveth {

AboutBox::AboutBox(Dialogs &dialogs, QUrl website, QWidget *owner)
    : ButtonClosedDialog(owner)
    , m_info(new QLabel)
    , m_link(new QLabel(QStringLiteral("Korveth Scripts")))
    , m_dialogs(dialogs)
    , m_website(std::move(website))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orlix"));
    setFont(designFont());
    m_info->setObjectName(QStringLiteral("lblInfo"));
    m_info->setText(m_info->text()
                    + QStringLiteral("Written by the Korveth Script Editor team.\nVersion: 1.0"));
    m_link->setObjectName(QStringLiteral("Label2"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->installEventFilter(this);
    setLinkColour(QColor(0, 0, 255));

    auto *frame = new QGroupBox(QStringLiteral("About Orlix Version 1.0"));
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *site = new QHBoxLayout;
    auto *siteLabel = new QLabel(QStringLiteral("Site:"));
    siteLabel->setObjectName(QStringLiteral("Label1"));
    site->addWidget(siteLabel);
    site->addWidget(m_link);
    site->addStretch();
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_info);
    frameLayout->addLayout(site);

    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdOk"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &AboutBox::closeByButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(close, 0, Qt::AlignRight);
    setMinimumWidth(320);

    centreOnOwner();
}

void AboutBox::setLinkColour(const QColor &colour)
{
    QPalette palette = m_link->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_link->setPalette(palette);
}

// Red while the button is held down on the link; a release over it opens the site.
bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched != m_link || (!press && event->type() != QEvent::MouseButtonRelease))
        return ButtonClosedDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return ButtonClosedDialog::eventFilter(watched, event);
    if (press) {
        setLinkColour(QColor(255, 0, 0));
        return true;
    }
    setLinkColour(QColor(0, 0, 255));
    if (m_link->rect().contains(mouse->position().toPoint()))
        m_dialogs.openWithShell(m_website);
    return true;
}

} // namespace Korveth
