#pragma once

#include <QObject>

class QMdiArea;
class QMdiSubWindow;

namespace Korveth {

class DocumentTabs;
class frmDoc;

// Where document windows are shown: the main window's multiple-document area with its tab strip
// `tb` kept in step. Placement, activation, closing and the arrangements live here.
class DocumentArea final : public QObject
{
    Q_OBJECT

public:
    DocumentArea(QMdiArea &area, DocumentTabs &tabs, QObject *parent = nullptr);

    // Shows a new document window, makes it the active one and appends its tab. The first
    // window, and any window while the active one is maximised, opens maximised.
    void show(frmDoc *document, const QString &tabCaption);
    // The document window that has the focus; the last one activated while none has it.
    frmDoc *active() const;
    void activate(frmDoc *document);
    // Closes the document's window (its save question may keep it); true when it closed.
    bool close(frmDoc *document);
    // The document windows in the order they were opened.
    QList<frmDoc *> documents() const;

    void tile(Qt::Orientation orientation);
    void cascade();

    QMdiArea &mdiArea() const { return m_area; }
    DocumentTabs &tabs() const { return m_tabs; }

Q_SIGNALS:
    void activated(frmDoc *document);

private:
    QMdiSubWindow *subWindowOf(const frmDoc *document) const;

    QMdiArea &m_area;
    DocumentTabs &m_tabs;
};

} // namespace Korveth
