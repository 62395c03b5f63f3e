#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

class QEvent;
class QLabel;

namespace Korveth {

class ScriptEditor;

// The status bar's CAPS and INS panels: drawn normally while their key state is on, dimmed while
// it is off. INS shows the active editor's overtype state. Caps Lock has no portable query, so
// CAPS follows the Caps Lock key and corrects itself by the case of the next letter typed.
class KeyStatePanels final : public QObject
{
    Q_OBJECT

public:
    KeyStatePanels(QLabel &caps,
                   QLabel &ins,
                   std::function<ScriptEditor *()> activeEditor,
                   QObject *parent = nullptr);

    bool capsLock() const { return m_capsLock; }
    // Shows the active editor's overtype state.
    void refreshInsert();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setCapsLock(bool on);

    QLabel &m_caps;
    QLabel &m_ins;
    std::function<ScriptEditor *()> m_activeEditor;
    bool m_capsLock = false;
};

} // namespace Korveth
