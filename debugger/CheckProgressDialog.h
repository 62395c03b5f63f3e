#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace Korveth {

// "Checking Script" (`frmDebugPrg`): shown while a check runs, following the lines.
class CheckProgressDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit CheckProgressDialog(QWidget *owner);

    // Lines 0 to last are to be checked; line has been.
    void setLastLine(int last);
    void setLine(int line);

private:
    QLabel *m_working;
    QProgressBar *m_progress;
};

} // namespace Korveth
