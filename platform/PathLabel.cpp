#include "PathLabel.h"

#include <QDir>

namespace Korveth {

PathLabel::PathLabel(QWidget *parent)
    : QLabel(parent)
{
    // A long path must not widen the pane it stands in.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
}

void PathLabel::setPath(const QString &path)
{
    m_path = QDir::toNativeSeparators(path);
    setToolTip(m_path);
    setAccessibleName(QStringLiteral("Folder"));
    setAccessibleDescription(m_path);
    showElided();
}

void PathLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void PathLabel::showElided()
{
    setText(fontMetrics().elidedText(m_path, Qt::ElideLeft, qMax(0, contentsRect().width())));
}

} // namespace Korveth
