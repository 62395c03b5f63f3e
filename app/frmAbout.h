#pragma once

#include "ButtonClosedDialog.h"

#include <QUrl>

class QLabel;

namespace Korveth {

class Dialogs;

// "About Orlix": the version, the author credit and a link to the website. Only its Close
// button closes it.
class frmAbout final : public ButtonClosedDialog
{
    Q_OBJECT

public:
    frmAbout(Dialogs &dialogs, QUrl website, QWidget *owner);

    QLabel *lblInfo;
    QLabel *Label2; // the link, blue; red while the mouse is held down on it

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLinkColour(const QColor &colour);

    Dialogs &m_dialogs;
    QUrl m_website;
};

} // namespace Korveth
