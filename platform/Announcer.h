#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace Korveth {

// Says a change of state to the player's screen reader where no control with the focus shows it:
// a check's count, a pause of the dry run, a breakpoint set. Each window has one, found or made by
// announce(); assistive technology sees it as a notification of that window, shown anew with each
// text, which screen readers speak at once without moving the focus. Nothing is done when no
// assistive technology listens.
class Announcer final : public QObject
{
    Q_OBJECT

public:
    // Says text through the announcer of where's window.
    static void announce(QWidget *where, const QString &text);
    // Says a closed box's new choice as the player changes it by keyboard: the box's own change
    // event does not reach every screen reader.
    static void sayChoices(QComboBox &box);
    // Gives a box that shows no caption (a drive box) one for assistive technology: its name, and
    // a hidden label whose buddy it is, since on Linux a box's name is its choice and its caption
    // comes from a label. Its choices are said as they change. Call once the box is in its window.
    static void captionUnseen(QComboBox &box, const QString &caption);
    // Has a container shown to assistive technology as a plain panel, which screen readers pass
    // over, rather than as what its class is (a layered pane, named before every move into it);
    // from the first call on, every tab widget's page stack is one too.
    static void presentAsPanel(QWidget &container);
    // The announcer of a window, made the first time.
    static Announcer *of(QWidget *window);

    explicit Announcer(QWidget *window);
    QString lastText() const { return m_text; }
    QWidget *window() const;

Q_SIGNALS:
    // Every announcement, listened to or not: tests hear the program through it.
    void announced(const QString &text);

private:
    void say(const QString &text);
    QString m_text;
};

} // namespace Korveth
