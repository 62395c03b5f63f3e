#pragma once

#include "ButtonClosedDialog.h"

#include <QUrl>

class QLabel;

namespace Korveth {

class Dialogs;

// "About Orlix": the version, the author credit and a link to the website. Only its Close
// button closes it.
class AboutBox final : public ButtonClosedDialog
{
    Q_OBJECT

public:
    AboutBox(Dialogs &dialogs, QUrl website, QWidget *owner);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setLinkColour(const QColor &colour);

    QLabel *m_info; // `lblInfo`
    QLabel *m_link; // `Label2`

    Dialogs &m_dialogs;
    QUrl m_website;
};

} // namespace Korveth
