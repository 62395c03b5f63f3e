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
    // A key goes first to the focus widget (or, with none, to the window), then, if ignored, on to
    // its parents as the same event: count it where it starts, once. (Comparing event addresses
    // would drop the next key, which the system builds at the same address.)
    auto *widget = static_cast<QWidget *>(watched);
    const QWidget *focus = QApplication::focusWidget();
    if (focus ? widget != focus : !widget->isWindow())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
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
    } else if (QGuiApplication::platformName() == u"xcb") {
        // X11 tells the lock state with every key (its Lock bit), before the key acts.
        constexpr quint32 lockMask = 0x2;
        setCapsLock(key->nativeModifiers() & lockMask);
    }
    return false;
}

} // namespace Korveth
