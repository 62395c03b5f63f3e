#include "FileBrowser.h"

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
    , Drive1(new QComboBox)
    , folderShown(new PathLabel)
    , Dir1(new QListWidget)
    , File1(new QListWidget)
{
    setObjectName(QStringLiteral("Picture4"));
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->setUniformItemSizes(true);
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    Dir1->setAccessibleName(QStringLiteral("Folders"));
    activateOnSpace(*Dir1);
    activateOnSpace(*File1);
    File1->setAccessibleName(QStringLiteral("Script files"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volume.rootPath());
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(Drive1);
    folderShown->setObjectName(QStringLiteral("folderShown"));
    layout->addWidget(folderShown);
    layout->addWidget(Dir1, 1);
    layout->addWidget(File1, 2);

    // A volume that is gone leaves the lists as they were.
    connect(Drive1, &QComboBox::textActivated, this, &FileBrowser::setFolder);
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    connect(File1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
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
    folderShown->setPath(m_folder);
    Dir1->clear();
    if (!dir.isRoot())
        Dir1->addItem(QStringLiteral(".."));
    Dir1->addItems(folders);
    File1->clear();
    for (const QString &name : files) {
        if (isScriptFileName(name))
            new QListWidgetItem(iconFor(joinFolderAndName(m_folder, name)), name, File1);
    }
    return true;
}

} // namespace Korveth
