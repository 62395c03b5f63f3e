#pragma once

#include <QLabel>

namespace Korveth {

// Shows a folder's path in one line; when it does not fit, the start gives way ("…/Scripts/hunt"),
// since the end tells where one is. The whole path is its tooltip and what a screen reader reads.
class PathLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit PathLabel(QWidget *parent = nullptr);

    void setPath(const QString &path);
    QString path() const { return m_path; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showElided();

    QString m_path;
};

} // namespace Korveth
