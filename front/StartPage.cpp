#include "StartPage.h"

#include "Announcer.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "DocumentManager.h"
#include "ItemActivation.h"
#include "PathLabel.h"
#include "RecentFiles.h"
#include "ScriptFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

QPushButton *button(const char *name, const char *caption)
{
    auto *button = new QPushButton(QString::fromLatin1(caption));
    button->setObjectName(QLatin1StringView(name));
    return button;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace

StartPage::StartPage(DocumentManager &documents,
                     Dialogs &dialogs,
                     const Korveth::RecentFiles &recent,
                     const QString &applicationTitle,
                     QWidget *owner)
    : QDialog(owner)
    , m_pages(new QTabWidget)
    , m_blankButton(nullptr)
    , m_healingButton(nullptr)
    , m_huntingButton(nullptr)
    , m_drives(new QComboBox)
    , m_folderShown(new PathLabel)
    , m_folders(new QListWidget)
    , m_files(new QListWidget)
    , m_fileName(new QLineEdit)
    , m_recentList(new QTreeWidget)
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_recent(recent)
    , m_applicationTitle(applicationTitle)
{
    setObjectName(QStringLiteral("frmFront"));
    setWindowTitle(QStringLiteral("Start Up"));
    setFont(designFont());
    m_pages->setObjectName(QStringLiteral("SSTab1"));
    m_pages->setAccessibleName(QStringLiteral("Start Up pages"));
    m_pages->addTab(generatorsTab(), QStringLiteral("Generators"));
    m_pages->addTab(existingTab(), QStringLiteral("Existing"));
    m_pages->addTab(recentTab(), QStringLiteral("Recent"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    resize(560, 400);
}

QWidget *StartPage::generatorsTab()
{
    struct Picture
    {
        const char *name;
        const char *caption;
        const char *tip;
        QStyle::StandardPixmap icon;
    };
    const Picture pictures[] = {
        {"cmdBlank", "New", "New Script", QStyle::SP_FileIcon},
        {"cmdSecurity", "Healing", "Healing Script Generator", QStyle::SP_DialogApplyButton},
        {"cmdGlossary", "Hunting (Swinger)", "Hunting Script Generator", QStyle::SP_ArrowForward},
        {"cmdContents", "Hunting (Caster)", "Hunting Script Generator", QStyle::SP_ArrowForward},
        {"cmdFeedBack", "Spellup", "Spellup Script Generator", QStyle::SP_ArrowUp},
        {"cmdFAQ", "Help", "Frequent Asked Questions Template", QStyle::SP_DialogHelpButton},
        {"cmdContact", "Contact", "Contact Template", QStyle::SP_MessageBoxInformation},
    };
    auto *tab = new QWidget;
    auto *grid = new QGridLayout;
    int column = 0;
    for (const Picture &picture : pictures) {
        auto *b = new QToolButton;
        b->setObjectName(QLatin1StringView(picture.name));
        b->setText(QString::fromLatin1(picture.caption));
        b->setToolTip(QString::fromLatin1(picture.tip));
        b->setIcon(style()->standardIcon(picture.icon));
        b->setIconSize(QSize(32, 32));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        // Only New and the two generators do something; the others are shown disabled.
        b->setEnabled(column < 3);
        grid->addWidget(b, column / 4, column % 4);
        if (column == 0)
            m_blankButton = b;
        else if (column == 1)
            m_healingButton = b;
        else if (column == 2)
            m_huntingButton = b;
        ++column;
    }
    connect(m_blankButton, &QToolButton::clicked, this, &StartPage::newScript);
    connect(m_healingButton, &QToolButton::clicked, this, [this] {
        m_generator = Generator::Healing;
        accept();
    });
    connect(m_huntingButton, &QToolButton::clicked, this, [this] {
        m_generator = Generator::Hunting;
        accept();
    });
    QPushButton *cancel = button("Command6", "&Cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(
        QStringLiteral("Select one of the above listed generators and click the icon.")));
    layout->addStretch();
    layout->addLayout(buttonRow({cancel}));
    return tab;
}

QWidget *StartPage::existingTab()
{
    m_drives->setObjectName(QStringLiteral("drvDrive"));
    m_folders->setObjectName(QStringLiteral("DirDirectory"));
    m_files->setObjectName(QStringLiteral("filFileName"));
    m_fileName->setObjectName(QStringLiteral("txtFileName"));
    m_folders->setAccessibleName(QStringLiteral("Folders"));
    m_files->setAccessibleName(QStringLiteral("Script files"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            m_drives->addItem(volume.rootPath());
    }
    auto *types = new QComboBox;
    types->setObjectName(QStringLiteral("coFileType"));
    types->addItem(QStringLiteral("Script Files   (*.cmd)"));
    QPushButton *open = button("Command1", "&Open");
    QPushButton *cancel = button("Command2", "&Cancel");
    open->setDefault(true);

    connect(m_drives, &QComboBox::textActivated, this, &StartPage::setFolder);
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    // Choosing a file by click or by the arrow keys names it; Enter, Space or a double-click
    // opens it.
    connect(m_files, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_fileName->setText(joinFolderAndName(m_folder, item->text()));
    });
    connect(m_files, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            m_fileName->setText(joinFolderAndName(m_folder, item->text()));
    });
    connect(m_files, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        Q_EMIT m_files->itemClicked(item);
        openExisting();
    });
    makeKeyboardList(*m_folders);
    makeKeyboardList(*m_files);
    connect(open, &QPushButton::clicked, this, &StartPage::openExisting);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    m_folderShown->setObjectName(QStringLiteral("folderShown"));
    grid->addWidget(m_folderShown, 0, 0, 1, 2);
    grid->addWidget(m_drives, 1, 0);
    Announcer::captionUnseen(*m_drives, QStringLiteral("Drive"));
    grid->addWidget(m_folders, 2, 0);
    grid->addWidget(m_files, 1, 1, 2, 1);
    auto *nameLabel = new QLabel(QStringLiteral("File &Name:"));
    nameLabel->setBuddy(m_fileName);
    auto *typeLabel = new QLabel(QStringLiteral("Files of &type:"));
    typeLabel->setBuddy(types);
    grid->addWidget(nameLabel, 3, 0);
    grid->addWidget(m_fileName, 3, 1);
    grid->addWidget(typeLabel, 4, 0);
    grid->addWidget(types, 4, 1);
    grid->addLayout(buttonRow({open, cancel}), 5, 0, 1, 2);
    setFolder(QDir::currentPath());
    return tab;
}

QWidget *StartPage::recentTab()
{
    m_recentList->setObjectName(QStringLiteral("RecentFiles"));
    m_recentList->setAccessibleName(QStringLiteral("Recent scripts"));
    m_recentList->setHeaderHidden(true);
    m_recentList->setRootIsDecorated(false);
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString &path : m_recent.read())
        (new QTreeWidgetItem(m_recentList, {path}))->setIcon(0, icon);
    QPushButton *open = button("Command3", "&Open");
    QPushButton *cancel = button("Command4", "&Cancel");
    connect(m_recentList, &QTreeWidget::itemActivated, this, &StartPage::openRecent);
    makeKeyboardList(*m_recentList);
    connect(open, &QPushButton::clicked, this, &StartPage::openRecent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(m_recentList);
    layout->addWidget(
        new QLabel(QStringLiteral("Double Click recent file or select and click \"Open\".")));
    layout->addLayout(buttonRow({open, cancel}));
    return tab;
}

// A folder that cannot be read leaves the lists as they were.
void StartPage::setFolder(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return;
    m_folder = dir.absolutePath();
    m_folderShown->setPath(m_folder);
    m_folders->clear();
    if (!dir.isRoot())
        m_folders->addItem(QStringLiteral(".."));
    m_folders->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
    m_files->clear();
    m_files->addItems(regularFilesIn(dir, {QStringLiteral("*.cmd")}));
}

void StartPage::newScript()
{
    if (DocumentWindow *document = m_documents.documentForNewText())
        document->editor()->setWholeText(QStringLiteral("#ScriptName\r\n\r\n\r\nExit"));
    accept();
}

void StartPage::openExisting()
{
    const QString path = m_fileName->text();
    if (path.isEmpty()) {
        m_dialogs.inform(
            m_applicationTitle, QStringLiteral("Please Select File to open"), Dialogs::Icon::None);
        return;
    }
    if (m_documents.OpenInPlaceOfBlank(path, QFileInfo(path).fileName()))
        m_recent.append(path);
    accept();
}

void StartPage::openRecent()
{
    // Only a chosen entry: the current one the list gives a keyboard is no choice.
    if (const QList<QTreeWidgetItem *> selected = m_recentList->selectedItems();
        !selected.isEmpty()) {
        const QString path = selected.first()->text(0);
        m_documents.OpenInPlaceOfBlank(path, path);
    }
    accept();
}

void StartPage::showTab(Tab tab)
{
    m_pages->setCurrentIndex(tab);
}

} // namespace Korveth
