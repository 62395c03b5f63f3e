#pragma once

#include <QHash>
#include <QIcon>
#include <QWidget>

class QComboBox;
class QListWidget;

namespace Korveth {

class PathLabel;

// The side pane's file page: drives (the mounted volumes), the folders of the chosen folder, and
// its script files with the icons the desktop shows for them. A double-click hands a file on.
class FileBrowser final : public QWidget
{
    Q_OBJECT

public:
    explicit FileBrowser(QWidget *parent = nullptr);

    QComboBox *Drive1;
    PathLabel *folderShown; // where the lists are
    QListWidget *Dir1;
    QListWidget *File1;

    QString folder() const { return m_folder; }
    // Lists the folder; one that cannot be read leaves the lists as they were (false).
    bool setFolder(const QString &folder);

Q_SIGNALS:
    void fileChosen(const QString &path, const QString &name);

private:
    QIcon iconFor(const QString &path);

    QString m_folder;
    QHash<QString, QIcon> m_iconsBySuffix;
};

} // namespace Korveth
