#pragma once

#include <QDialog>

class QLabel;

namespace Korveth {

// "Script Properties": sizes and counts of the active script. Only its Close button closes it.
class frmProperties final : public QDialog
{
    Q_OBJECT

public:
    struct Figures
    {
        QString caption; // the document's window caption
        bool neverSaved = true;
        std::int32_t characters = 0;
        std::int32_t words = 0;
        std::int32_t lines = 0;
    };

    explicit frmProperties(QWidget *owner);

    void fill(const Figures &figures);
    // Centres the window on its owner, remainders dropped.
    void centreOnOwner();

    QLabel *lblFile;
    QLabel *lblSizeK;
    QLabel *lblSizeB;
    QLabel *lblLine;
    QLabel *lblWord;
    QLabel *lblChar;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_closing = false;
};

} // namespace Korveth
