#include "FileBrowser.h"

#include "Announcer.h"
#include "ItemActivation.h"
#include "PathLabel.h"
#include "ScriptFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QListWidget>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace Korveth {

FileBrowser::FileBrowser(QWidget *parent)
    : QWidget(parent)
    , m_drives(new QComboBox)
    , m_folderShown(new PathLabel)
    , m_folders(new QListWidget)
    , m_files(new QListWidget)
{
    setObjectName(QStringLiteral("Picture4"));
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setUniformItemSizes(true);
    m_folders->setAccessibleName(QStringLiteral("Folders"));
    makeKeyboardList(*m_folders);
    makeKeyboardList(*m_files);
    m_files->setAccessibleName(QStringLiteral("Script files"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            m_drives->addItem(volume.rootPath());
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(m_drives);
    Announcer::captionUnseen(*m_drives, QStringLiteral("Drive"));
    m_folderShown->setObjectName(QStringLiteral("folderShown"));
    layout->addWidget(m_folderShown);
    layout->addWidget(m_folders, 1);
    layout->addWidget(m_files, 2);

    // A volume that is gone leaves the lists as they were.
    connect(m_drives, &QComboBox::textActivated, this, &FileBrowser::setFolder);
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    connect(m_files, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        Q_EMIT fileChosen(joinFolderAndName(m_folder, item->text()), item->text());
    });
    setFolder(QDir::currentPath());
}

// Script files of one type share the desktop's icon, so a large folder asks once a type.
QIcon FileBrowser::iconFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    auto known = m_iconsBySuffix.constFind(suffix);
    if (known == m_iconsBySuffix.constEnd())
        known = m_iconsBySuffix.insert(suffix, QFileIconProvider().icon(QFileInfo(path)));
    return *known;
}

bool FileBrowser::setFolder(const QString &folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QStringList files = regularFilesIn(dir);
    m_folder = dir.absolutePath();
    m_folderShown->setPath(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(QStringLiteral(".."));
    m_folders->addItems(folders);
    m_files->clear();
    for (const QString &name : files) {
        if (isScriptFileName(name))
            new QListWidgetItem(iconFor(joinFolderAndName(m_folder, name)), name, m_files);
    }
    return true;
}

} // namespace Korveth
