#include "DocumentTabs.h"

#include <QContextMenuEvent>

namespace Korveth {

DocumentTabs::DocumentTabs(QWidget *parent)
    : QTabBar(parent)
{
    setDocumentMode(true);
    setExpanding(false);
    setElideMode(Qt::ElideMiddle);
    setUsesScrollButtons(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            Q_EMIT tagActivated(tagAt(index));
    });
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const int index = tabAt(pos);
        if (index >= 0)
            Q_EMIT tagContextMenuRequested(tagAt(index), mapToGlobal(pos));
    });
}

void DocumentTabs::addDocumentTab(int tag, const QString &caption, const QString &toolTip)
{
    const int index = addTab(caption);
    setTabData(index, tag);
    setTabToolTip(index, toolTip);
    setCurrentIndex(index);
}

void DocumentTabs::setCaption(int tag, const QString &caption)
{
    const int index = indexOfTag(tag);
    if (index >= 0)
        setTabText(index, caption);
}

void DocumentTabs::setToolTipOfTag(int tag, const QString &toolTip)
{
    const int index = indexOfTag(tag);
    if (index >= 0)
        setTabToolTip(index, toolTip);
}

// Qt would shrink a tab to two letters either side of the ellipsis before it scrolls; a tab keeps
// enough of its name to be told from the others.
QSize DocumentTabs::minimumTabSizeHint(int index) const
{
    const QSize least = QTabBar::minimumTabSizeHint(index);
    const QSize full = tabSizeHint(index);
    const int readable
        = least.width() + fontMetrics().averageCharWidth() * (readableCharacters - 4);
    return {qMin(full.width(), readable), least.height()};
}

int DocumentTabs::indexOfTag(int tag) const
{
    for (int i = 0; i < count(); ++i) {
        if (tagAt(i) == tag)
            return i;
    }
    return -1;
}

void DocumentTabs::selectTag(int tag)
{
    const int index = indexOfTag(tag);
    if (index >= 0)
        setCurrentIndex(index);
}

void DocumentTabs::removeTag(int tag)
{
    const int index = indexOfTag(tag);
    if (index >= 0)
        removeTab(index);
}

int DocumentTabs::tagAt(int index) const
{
    return tabData(index).toInt();
}

QStringList DocumentTabs::captions() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result.append(tabText(i));
    return result;
}

} // namespace Korveth
