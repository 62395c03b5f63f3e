#include "ButtonClosedDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShortcut>

namespace Korveth {

ButtonClosedDialog::ButtonClosedDialog(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{}

void ButtonClosedDialog::closeOnEscape(QWidget &window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}

void ButtonClosedDialog::centreOnOwner()
{
    adjustSize();
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect frame = owner->frameGeometry();
    move(frame.left() + (frame.width() - width()) / 2,
         frame.top() + (frame.height() - height()) / 2);
}

void ButtonClosedDialog::closeByButton()
{
    m_closing = true;
    accept();
}

void ButtonClosedDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        closeByButton();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ButtonClosedDialog::closeEvent(QCloseEvent *event)
{
    if (m_closing)
        event->accept();
    else
        event->ignore();
}

} // namespace Korveth
