#include "DocumentArea.h"

#include "DocumentTabs.h"
#include "DocumentWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace Korveth {

DocumentArea::DocumentArea(QMdiArea &area, DocumentTabs &tabs, QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_tabs(tabs)
{
    connect(&m_tabs, &DocumentTabs::tagActivated, this, [this](int tag) {
        for (DocumentWindow *document : documents()) {
            if (document->tabNumber() == tag)
                activate(document);
        }
    });
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        if (auto *document = window ? qobject_cast<DocumentWindow *>(window->widget()) : nullptr) {
            m_tabs.selectTag(document->tabNumber());
            Q_EMIT activated(document);
        }
    });
}

void DocumentArea::show(DocumentWindow *document, const QString &tabCaption)
{
    QMdiSubWindow *window = m_area.addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    window->setWindowIcon(QIcon(blank));
    const QMdiSubWindow *previous = m_area.activeSubWindow();
    if (m_area.subWindowList().size() == 1 || (previous && previous->isMaximized()))
        window->showMaximized();
    else
        window->show();
    m_tabs.addDocumentTab(document->tabNumber(), tabCaption, document->windowTitle());
    connect(
        document, &QWidget::windowTitleChanged, &m_tabs, [this, document](const QString &title) {
            m_tabs.setToolTipOfTag(document->tabNumber(), title);
        });
    m_area.setActiveSubWindow(window);
    document->editor()->setFocus();
}

QMdiSubWindow *DocumentArea::subWindowOf(const DocumentWindow *document) const
{
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        if (window->widget() == document)
            return window;
    }
    return nullptr;
}

DocumentWindow *DocumentArea::active() const
{
    QMdiSubWindow *window = m_area.activeSubWindow();
    if (!window) {
        // Offscreen and while another window has the focus, the area may report none active.
        const QList<QMdiSubWindow *> windows
            = m_area.subWindowList(QMdiArea::ActivationHistoryOrder);
        window = windows.isEmpty() ? nullptr : windows.last();
    }
    return window ? qobject_cast<DocumentWindow *>(window->widget()) : nullptr;
}

void DocumentArea::activate(DocumentWindow *document)
{
    if (QMdiSubWindow *window = subWindowOf(document)) {
        m_area.setActiveSubWindow(window);
        document->editor()->setFocus();
        m_tabs.selectTag(document->tabNumber());
    }
}

bool DocumentArea::close(DocumentWindow *document)
{
    QMdiSubWindow *window = subWindowOf(document);
    return !window || window->close();
}

QList<DocumentWindow *> DocumentArea::documents() const
{
    QList<DocumentWindow *> documents;
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        if (auto *document = qobject_cast<DocumentWindow *>(window->widget()))
            documents.append(document);
    }
    return documents;
}

void DocumentArea::tile(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> windows = m_area.subWindowList();
    if (windows.isEmpty())
        return;
    const QRect area = m_area.viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *window = windows[i];
        window->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            window->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / n;
            window->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void DocumentArea::cascade()
{
    m_area.cascadeSubWindows();
}

} // namespace Korveth
