#pragma once

#include <QLabel>

namespace Korveth {

// A status bar panel whose text changes on every key (the caret's place). Its size is fixed and
// only grows when a longer text comes, so a new text repaints the panel alone: a label that may
// change size makes the whole bar lay itself out again each time.
class StatusPanel final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusPanel(int minimumWidth, QWidget *parent = nullptr);

    void showText(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fit();

    int m_minimumWidth;
    qsizetype m_longest = -1; // the longest text fitted; its digits are as wide as any others
};

} // namespace Korveth
