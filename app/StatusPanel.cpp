#include "StatusPanel.h"

#include <QEvent>

#include <algorithm>

namespace Korveth {

StatusPanel::StatusPanel(int minimumWidth, QWidget *parent)
    : QLabel(parent)
    , m_minimumWidth(minimumWidth)
{
    fit();
}

void StatusPanel::showText(const QString &text)
{
    setText(text);
    if (text.size() > m_longest) {
        m_longest = text.size();
        fit();
    }
}

void StatusPanel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fit();
}

void StatusPanel::fit()
{
    const QSize wanted = sizeHint();
    setFixedSize(std::max({m_minimumWidth, wanted.width(), m_longest < 0 ? 0 : maximumWidth()}),
                 qMax(wanted.height(), fontMetrics().height()));
}

} // namespace Korveth
