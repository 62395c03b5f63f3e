#pragma once

#include <QWidget>

class QLabel;
class QTabWidget;
class QToolButton;

namespace Korveth {

class FileBrowser;
class LabelsPage;
class QuickNav;

// The side pane `Picture2`: its title " Quick Nav" with the close button `cmdX`, and the tab
// strip `tbs` with the file page ("Files"), the command page ("Commands") and the active script's
// labels ("Labels").
class SidePane final : public QWidget
{
    Q_OBJECT

public:
    explicit SidePane(QWidget *parent = nullptr);

    QTabWidget *pages() const { return m_pages; }
    FileBrowser *fileBrowser() const { return m_fileBrowser; }
    QuickNav *quickNav() const { return m_quickNav; }
    LabelsPage *labelsPage() const { return m_labelsPage; }

Q_SIGNALS:
    void closeClicked();

private:
    QLabel *m_title;
    QToolButton *m_closeButton;
    QTabWidget *m_pages;
    FileBrowser *m_fileBrowser;
    QuickNav *m_quickNav;
    LabelsPage *m_labelsPage;
};

} // namespace Korveth
