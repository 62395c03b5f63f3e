#include "frmDebugPrg.h"

#include "Twips.h"

#include <QLabel>
#include <QProgressBar>

namespace Korveth {

frmDebugPrg::frmDebugPrg(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , Label1(new QLabel(QStringLiteral("Working...Please wait"), this))
    , ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmDebugPrg"));
    setWindowTitle(QStringLiteral("Checking Script"));
    setModal(false);
    QFont big(QStringLiteral("Verdana"));
    big.setPointSizeF(14.25);
    Label1->setFont(big);
    Label1->setGeometry(twipsRect(*this, 120, 120, 4455, 375));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(twipsRect(*this, 120, 600, 4455, 255));
    setFixedSize(twipsToPixelsX(*this, 4680), twipsToPixelsY(*this, 1095));
}

} // namespace Korveth
