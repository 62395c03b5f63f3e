#pragma once

#include <QEvent>
#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

namespace Korveth {

class Dialogs;

// The toolbar's Click Help: while it is on, the pointer is the arrow with a question mark, and
// the next click on a watched control shows that control's tip instead of doing its usual work.
// The first tip shown ends it.
class HelpMode final : public QObject
{
    Q_OBJECT

public:
    explicit HelpMode(Dialogs &dialogs, QObject *parent = nullptr);
    ~HelpMode() override;

    void start();
    bool isOn() const { return m_on; }
    // The control's tip, shown when the trigger event reaches it while help mode is on. A
    // control that keeps working in help mode (keepsWorking) gets the event after the tip.
    void watch(QWidget *control,
               const QString &tip,
               QEvent::Type trigger = QEvent::MouseButtonPress,
               bool keepsWorking = false);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void stop();

    struct Watched
    {
        QString tip;
        QEvent::Type trigger;
        bool keepsWorking;
    };
    Dialogs &m_dialogs;
    QHash<QObject *, Watched> m_watched;
    bool m_on = false;
};

} // namespace Korveth
