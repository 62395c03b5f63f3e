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

    QLabel *lblTitle;
    QToolButton *cmdX;
    QTabWidget *tbs;
    FileBrowser *files;
    QuickNav *tagsd;
    LabelsPage *labels;

Q_SIGNALS:
    void closeClicked();
};

} // namespace Korveth
