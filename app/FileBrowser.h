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

    // The design's `Drive1`, `Dir1` and `File1`, and where the lists are.
    QComboBox *drives() const { return m_drives; }
    QListWidget *folders() const { return m_folders; }
    QListWidget *files() const { return m_files; }
    PathLabel *folderShown() const { return m_folderShown; }

    QString folder() const { return m_folder; }
    // Lists the folder; one that cannot be read leaves the lists as they were (false).
    bool setFolder(const QString &folder);

Q_SIGNALS:
    void fileChosen(const QString &path, const QString &name);

private:
    QIcon iconFor(const QString &path);

    QComboBox *m_drives;
    PathLabel *m_folderShown;
    QListWidget *m_folders;
    QListWidget *m_files;
    QString m_folder;
    QHash<QString, QIcon> m_iconsBySuffix;
};

} // namespace Korveth
