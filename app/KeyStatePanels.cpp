#include "KeyStatePanels.h"

#include "ScriptEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace Korveth {

KeyStatePanels::KeyStatePanels(QLabel &caps,
                               QLabel &ins,
                               std::function<ScriptEditor *()> activeEditor,
                               QObject *parent)
    : QObject(parent)
    , m_caps(caps)
    , m_ins(ins)
    , m_activeEditor(std::move(activeEditor))
{
    setCapsLock(false);
    m_ins.setEnabled(false);
    qApp->installEventFilter(this);
}

void KeyStatePanels::setCapsLock(bool on)
{
    m_capsLock = on;
    m_caps.setEnabled(on);
}

void KeyStatePanels::refreshInsert()
{
    const ScriptEditor *editor = m_activeEditor();
    m_ins.setEnabled(editor && editor->overwriteMode());
}

bool KeyStatePanels::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // A key a widget ignores travels on to its parents as the same event: count it once.
    auto *widget = static_cast<QWidget *>(watched);
    if (key == m_lastKey && m_lastReceiver && widget->isAncestorOf(m_lastReceiver))
        return false;
    m_lastKey = key;
    m_lastReceiver = widget;
    if (key->key() == Qt::Key_CapsLock) {
        setCapsLock(!m_capsLock);
    } else if (key->key() == Qt::Key_Insert) {
        // The editor toggles overtype when it handles the key; read it afterwards.
        QTimer::singleShot(0, this, &KeyStatePanels::refreshInsert);
    } else if (key->text().size() == 1 && key->text()[0].isLetter()
               && key->text()[0].isUpper() != key->text()[0].isLower()) {
        const bool upper = key->text()[0].isUpper();
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        setCapsLock(upper != shift);
    }
    return false;
}

} // namespace Korveth
