#pragma once

#include <QDialog>

namespace Korveth {

// A modal window that its own Close button ends, or Escape as a keyboard's way to that button: it
// has no close box, and the window manager's close is refused.
class ButtonClosedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ButtonClosedDialog(QWidget *owner);

    // Lets Escape close a window of the program that is no dialog (the debugger, the options).
    static void closeOnEscape(QWidget &window);

    // Centres the window on its owner's window, the halves rounded down.
    void centreOnOwner();

protected:
    // What the Close button does.
    void closeByButton();
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_closing = false;
};

} // namespace Korveth
