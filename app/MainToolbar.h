#pragma once

#include <QHash>
#include <QToolBar>

namespace Korveth {

// The toolbar `tBar`: 22 buttons and 9 separators, each button with its key, tooltip and
// picture. A click reports the button's key; routing is the main window's.
class MainToolbar final : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolbar(QWidget *parent = nullptr);

    QAction *button(const QString &key) const { return m_buttons.value(key); }
    // The buttons' keys from left to right.
    QStringList keys() const;

    // The command a button's key runs, compared case-sensitively in the design's order; empty
    // for a key that runs nothing (the Help button).
    static QString commandFor(const QString &key);

Q_SIGNALS:
    void buttonClicked(const QString &key);

private:
    QHash<QString, QAction *> m_buttons;
};

} // namespace Korveth
