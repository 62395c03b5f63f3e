#include "ItemActivation.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QShortcut>
#include <QTimer>

namespace Korveth {

namespace {

class CurrentItemTeller final : public QObject
{
public:
    explicit CurrentItemTeller(QAbstractItemView &view)
        : QObject(&view)
        , m_view(view)
    {
        view.installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn
            && static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason)
            QTimer::singleShot(0, this, &CurrentItemTeller::tell); // after the view's own answer
        return false;
    }

private:
    void tell()
    {
        if (!m_view.hasFocus() || !m_view.model())
            return;
        const QModelIndex current = m_view.currentIndex();
        if (!current.isValid()) {
            const QModelIndex first = m_view.model()->index(0, 0, m_view.rootIndex());
            if (first.isValid()) // the view tells of a new current item itself
                m_view.selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
            return;
        }
        // The view's own telling of its current item, asked for again.
        QMetaObject::invokeMethod(&m_view,
                                  "currentChanged",
                                  Qt::DirectConnection,
                                  Q_ARG(QModelIndex, current),
                                  Q_ARG(QModelIndex, QModelIndex()));
    }

    QAbstractItemView &m_view;
};

} // namespace

void makeKeyboardList(QAbstractItemView &view)
{
    auto *space = new QShortcut(QKeySequence(Qt::Key_Space), &view);
    space->setContext(Qt::WidgetShortcut);
    QObject::connect(space, &QShortcut::activated, &view, [&view] {
        if (view.currentIndex().isValid())
            Q_EMIT view.activated(view.currentIndex());
    });
    new CurrentItemTeller(view);
}

} // namespace Korveth
