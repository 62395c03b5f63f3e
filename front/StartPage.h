#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace Korveth {

class Dialogs;
class DocumentManager;
class RecentFiles;
class PathLabel;

// "Start Up": begin with a blank script, start a generator, or load an existing or recent script.
// Its text goes into the active document only while that is an untouched new script, else into a
// document of its own. Modal; every action closes it except an Open without a file name.
class StartPage final : public QDialog
{
    Q_OBJECT

public:
    enum Tab { Generators = 0, Existing = 1, Recent = 2 };
    enum class Generator { None, Healing, Hunting };

    StartPage(DocumentManager &documents,
              Dialogs &dialogs,
              const RecentFiles &recent,
              const QString &applicationTitle,
              QWidget *owner);

    void showTab(Tab tab);

    // The generator chosen, to be shown once the start page has closed.
    Generator chosenGenerator() const { return m_generator; }

    // The folder the Existing tab lists.
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);

    void newScript();
    void openExisting();
    void openRecent();

private:
    QWidget *generatorsTab();
    QWidget *existingTab();
    QWidget *recentTab();

    QTabWidget *m_pages;          // `SSTab1`
    QToolButton *m_blankButton;   // `cmdBlank`
    QToolButton *m_healingButton; // `cmdSecurity`
    QToolButton *m_huntingButton; // `cmdGlossary`
    QComboBox *m_drives;          // `drvDrive`
    PathLabel *m_folderShown;     // `folderShown`
    QListWidget *m_folders;       // `DirDirectory`
    QListWidget *m_files;         // `filFileName`
    QLineEdit *m_fileName;        // `txtFileName`
    QTreeWidget *m_recentList;    // `RecentFiles`

    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    const Korveth::RecentFiles &m_recent;
    QString m_applicationTitle;
    QString m_folder;
    Generator m_generator = Generator::None;
};

} // namespace Korveth
