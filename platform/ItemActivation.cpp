#include "ItemActivation.h"

#include <QAbstractItemView>
#include <QShortcut>

namespace Korveth {

void activateOnSpace(QAbstractItemView &view)
{
    auto *space = new QShortcut(QKeySequence(Qt::Key_Space), &view);
    space->setContext(Qt::WidgetShortcut);
    QObject::connect(space, &QShortcut::activated, &view, [&view] {
        if (view.currentIndex().isValid())
            Q_EMIT view.activated(view.currentIndex());
    });
}

} // namespace Korveth
