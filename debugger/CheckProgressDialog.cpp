#include "CheckProgressDialog.h"

#include "Twips.h"

#include <QLabel>
#include <QProgressBar>

namespace Korveth {

CheckProgressDialog::CheckProgressDialog(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_working(new QLabel(QStringLiteral("Working...Please wait"), this))
    , m_progress(new QProgressBar(this))
{
    setObjectName(QStringLiteral("frmDebugPrg"));
    setWindowTitle(QStringLiteral("Checking Script"));
    setModal(false);
    QFont big(QStringLiteral("Verdana"));
    big.setPointSizeF(14.25);
    m_working->setFont(big);
    m_working->setGeometry(twipsRect(*this, 120, 120, 4455, 375));
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setGeometry(twipsRect(*this, 120, 600, 4455, 255));
    setFixedSize(twipsToPixelsX(*this, 4680), twipsToPixelsY(*this, 1095));
}

void CheckProgressDialog::setLastLine(int last)
{
    m_progress->setRange(0, last);
}

void CheckProgressDialog::setLine(int line)
{
    m_progress->setValue(line);
}

} // namespace Korveth
