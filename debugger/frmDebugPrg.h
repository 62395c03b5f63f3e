#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace Korveth {

// "Checking Script": shown while a check runs, following the lines.
class frmDebugPrg final : public QDialog
{
    Q_OBJECT

public:
    explicit frmDebugPrg(QWidget *owner);

    QLabel *Label1;
    QProgressBar *ProgressBar1;
};

} // namespace Korveth
