#include "HelpMode.h"

#include "Dialogs.h"

#include <QApplication>
#include <QWidget>

namespace Korveth {

HelpMode::HelpMode(Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
{}

HelpMode::~HelpMode()
{
    if (m_on)
        QApplication::restoreOverrideCursor();
}

void HelpMode::start()
{
    if (m_on)
        return;
    m_on = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void HelpMode::stop()
{
    m_on = false;
    QApplication::restoreOverrideCursor();
}

void HelpMode::watch(QWidget *control, const QString &tip, QEvent::Type trigger, bool keepsWorking)
{
    m_watched.insert(control, {tip, trigger, keepsWorking});
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject *gone) { m_watched.remove(gone); });
}

bool HelpMode::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_on)
        return false;
    const auto found = m_watched.constFind(watched);
    if (found == m_watched.constEnd() || event->type() != found->trigger)
        return false;
    const QString tip = found->tip;
    const bool keepsWorking = found->keepsWorking;
    stop();
    m_dialogs.message(QStringLiteral("Tip"), tip, Dialogs::Icon::Question, Dialogs::Buttons::Ok);
    return !keepsWorking; // most controls show the tip instead of doing their usual work
}

} // namespace Korveth
