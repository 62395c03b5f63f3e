#include "frmFront.h"

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

frmFront::frmFront(DocumentManager &documents,
                   Dialogs &dialogs,
                   const Korveth::RecentFiles &recent,
                   const QString &applicationTitle,
                   QWidget *owner)
    : QDialog(owner)
    , SSTab1(new QTabWidget)
    , cmdBlank(nullptr)
    , cmdSecurity(nullptr)
    , cmdGlossary(nullptr)
    , drvDrive(new QComboBox)
    , folderShown(new PathLabel)
    , DirDirectory(new QListWidget)
    , filFileName(new QListWidget)
    , txtFileName(new QLineEdit)
    , RecentFiles(new QTreeWidget)
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_recent(recent)
    , m_applicationTitle(applicationTitle)
{
    setObjectName(QStringLiteral("frmFront"));
    setWindowTitle(QStringLiteral("Start Up"));
    setFont(designFont());
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setAccessibleName(QStringLiteral("Start Up pages"));
    SSTab1->addTab(generatorsTab(), QStringLiteral("Generators"));
    SSTab1->addTab(existingTab(), QStringLiteral("Existing"));
    SSTab1->addTab(recentTab(), QStringLiteral("Recent"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    resize(560, 400);
}

QWidget *frmFront::generatorsTab()
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
            cmdBlank = b;
        else if (column == 1)
            cmdSecurity = b;
        else if (column == 2)
            cmdGlossary = b;
        ++column;
    }
    connect(cmdBlank, &QToolButton::clicked, this, &frmFront::newScript);
    connect(cmdSecurity, &QToolButton::clicked, this, [this] {
        m_generator = Generator::Healing;
        accept();
    });
    connect(cmdGlossary, &QToolButton::clicked, this, [this] {
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

QWidget *frmFront::existingTab()
{
    drvDrive->setObjectName(QStringLiteral("drvDrive"));
    DirDirectory->setObjectName(QStringLiteral("DirDirectory"));
    filFileName->setObjectName(QStringLiteral("filFileName"));
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    drvDrive->setAccessibleName(QStringLiteral("Drive"));
    DirDirectory->setAccessibleName(QStringLiteral("Folders"));
    filFileName->setAccessibleName(QStringLiteral("Script files"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            drvDrive->addItem(volume.rootPath());
    }
    auto *types = new QComboBox;
    types->setObjectName(QStringLiteral("coFileType"));
    types->addItem(QStringLiteral("Script Files   (*.cmd)"));
    QPushButton *open = button("Command1", "&Open");
    QPushButton *cancel = button("Command2", "&Cancel");
    open->setDefault(true);

    connect(drvDrive, &QComboBox::textActivated, this, &frmFront::setFolder);
    connect(DirDirectory, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setFolder(QDir(m_folder).absoluteFilePath(item->text()));
    });
    // Choosing a file by click or by the arrow keys names it; Enter, Space or a double-click
    // opens it.
    connect(filFileName, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        txtFileName->setText(joinFolderAndName(m_folder, item->text()));
    });
    connect(filFileName, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            txtFileName->setText(joinFolderAndName(m_folder, item->text()));
    });
    connect(filFileName, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        Q_EMIT filFileName->itemClicked(item);
        openExisting();
    });
    activateOnSpace(*DirDirectory);
    activateOnSpace(*filFileName);
    connect(open, &QPushButton::clicked, this, &frmFront::openExisting);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    folderShown->setObjectName(QStringLiteral("folderShown"));
    grid->addWidget(folderShown, 0, 0, 1, 2);
    grid->addWidget(drvDrive, 1, 0);
    grid->addWidget(DirDirectory, 2, 0);
    grid->addWidget(filFileName, 1, 1, 2, 1);
    auto *nameLabel = new QLabel(QStringLiteral("File &Name:"));
    nameLabel->setBuddy(txtFileName);
    auto *typeLabel = new QLabel(QStringLiteral("Files of &type:"));
    typeLabel->setBuddy(types);
    grid->addWidget(nameLabel, 3, 0);
    grid->addWidget(txtFileName, 3, 1);
    grid->addWidget(typeLabel, 4, 0);
    grid->addWidget(types, 4, 1);
    grid->addLayout(buttonRow({open, cancel}), 5, 0, 1, 2);
    setFolder(QDir::currentPath());
    return tab;
}

QWidget *frmFront::recentTab()
{
    RecentFiles->setObjectName(QStringLiteral("RecentFiles"));
    RecentFiles->setAccessibleName(QStringLiteral("Recent scripts"));
    RecentFiles->setHeaderHidden(true);
    RecentFiles->setRootIsDecorated(false);
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString &path : m_recent.read())
        (new QTreeWidgetItem(RecentFiles, {path}))->setIcon(0, icon);
    QPushButton *open = button("Command3", "&Open");
    QPushButton *cancel = button("Command4", "&Cancel");
    connect(RecentFiles, &QTreeWidget::itemActivated, this, &frmFront::openRecent);
    activateOnSpace(*RecentFiles);
    connect(open, &QPushButton::clicked, this, &frmFront::openRecent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(RecentFiles);
    layout->addWidget(
        new QLabel(QStringLiteral("Double Click recent file or select and click \"Open\".")));
    layout->addLayout(buttonRow({open, cancel}));
    return tab;
}

// A folder that cannot be read leaves the lists as they were.
void frmFront::setFolder(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return;
    m_folder = dir.absolutePath();
    folderShown->setPath(m_folder);
    DirDirectory->clear();
    if (!dir.isRoot())
        DirDirectory->addItem(QStringLiteral(".."));
    DirDirectory->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
    filFileName->clear();
    filFileName->addItems(regularFilesIn(dir, {QStringLiteral("*.cmd")}));
}

void frmFront::newScript()
{
    if (frmDoc *document = m_documents.documentForNewText())
        document->editor()->SetText(QStringLiteral("#ScriptName\r\n\r\n\r\nExit"));
    accept();
}

void frmFront::openExisting()
{
    const QString path = txtFileName->text();
    if (path.isEmpty()) {
        m_dialogs.inform(
            m_applicationTitle, QStringLiteral("Please Select File to open"), Dialogs::Icon::None);
        return;
    }
    if (m_documents.OpenInPlaceOfBlank(path, QFileInfo(path).fileName()))
        m_recent.append(path);
    accept();
}

void frmFront::openRecent()
{
    if (const QTreeWidgetItem *selected = RecentFiles->currentItem()) {
        const QString path = selected->text(0);
        m_documents.OpenInPlaceOfBlank(path, path);
    }
    accept();
}

} // namespace Korveth
