#pragma once

#include <QObject>

class QMdiArea;
class QMdiSubWindow;

namespace Korveth {

class DocumentTabs;
class DocumentWindow;

// Where document windows are shown: the main window's multiple-document area with its tab strip
// `tb` kept in step. Placement, activation, closing and the arrangements live here.
class DocumentArea final : public QObject
{
    Q_OBJECT

public:
    DocumentArea(QMdiArea &area, DocumentTabs &tabs, QObject *parent = nullptr);

    // Shows a new document window, makes it the active one and appends its tab. The first
    // window, and any window while the active one is maximised, opens maximised.
    void show(DocumentWindow *document, const QString &tabCaption);
    // The document window that has the focus; the last one activated while none has it.
    DocumentWindow *active() const;
    void activate(DocumentWindow *document);
    // Closes the document's window (its save question may keep it); true when it closed.
    bool close(DocumentWindow *document);
    // The document windows in the order they were opened.
    QList<DocumentWindow *> documents() const;

    void tile(Qt::Orientation orientation);
    void cascade();

    QMdiArea &mdiArea() const { return m_area; }
    DocumentTabs &tabs() const { return m_tabs; }

Q_SIGNALS:
    void activated(DocumentWindow *document);

private:
    QMdiSubWindow *subWindowOf(const DocumentWindow *document) const;

    QMdiArea &m_area;
    DocumentTabs &m_tabs;
};

} // namespace Korveth
