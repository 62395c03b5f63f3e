#pragma once

#include <QDialog>

namespace Korveth {

// A modal window that only its own Close button ends: it has no close box, and Escape and the
// window manager's close are refused.
class ButtonClosedDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ButtonClosedDialog(QWidget *owner);

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
