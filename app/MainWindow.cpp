#include "MainWindow.h"

#include "Announcer.h"
#include "MenuKeys.h"
#include "WindowFront.h"

#include "CountCommands.h"
#include "Dialogs.h"
#include "DiskChangeMonitor.h"
#include "DocumentArea.h"
#include "DocumentManager.h"
#include "DocumentTabs.h"
#include "DocumentWindow.h"
#include "EditCommands.h"
#include "EditorPropertiesDialog.h"
#include "EditorServices.h"
#include "FileBrowser.h"
#include "FileCommands.h"
#include "HealingGeneratorDialog.h"
#include "HelpCommands.h"
#include "HelpMode.h"
#include "HuntingGeneratorWindow.h"
#include "KeyStatePanels.h"
#include "LiveCheckCommands.h"
#include "MainMenus.h"
#include "MainToolbar.h"
#include "OptionsCommand.h"
#include "PaneFocus.h"
#include "QuickNav.h"
#include "ScriptDebugger.h"
#include "ScriptPrinter.h"
#include "ScriptRunnerCommand.h"
#include "SearchCommands.h"
#include "SidePane.h"
#include "StartPage.h"
#include "StatusPanel.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

const QString mainCaption = QStringLiteral("Korveth Script Editor");

// An installed program keeps the list in the user's data folder; one in the build tree beside
// itself, unless that folder cannot be written.
QString recentListPath(const ProgramPaths &paths)
{
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (paths.installed())
        return QDir(userFolder).filePath(QStringLiteral("recent.dat"));
    return RecentFiles::locate(paths.programFolder(), userFolder);
}

} // namespace

MainWindow::MainWindow(const ProgramServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_recent(recentListPath(services.paths))
    , m_mdiArea(new QMdiArea)
    , m_tabs(new DocumentTabs)
    , m_menus(std::make_unique<MainMenus>(*menuBar()))
    , m_area(new DocumentArea(*m_mdiArea, *m_tabs, this))
    , m_documents(
          new DocumentManager(*m_area, services.editors, services.files, services.dialogs, this))
    , m_printer(std::make_unique<ScriptPrinter>(services.dialogs))
    , m_fileCommands(std::make_unique<FileCommands>(
          *m_documents, *m_area, *m_printer, m_recent, services.dialogs))
    , m_search(std::make_unique<SearchCommands>(services.editors.search,
                                                services.dialogs,
                                                *this,
                                                [this]() -> ScriptEditor * {
                                                    DocumentWindow *document
                                                        = m_documents->activeDocument();
                                                    return document ? document->editor() : nullptr;
                                                }))
    , m_counts(std::make_unique<CountCommands>(*m_documents, services.dialogs, *this))
    , m_diskChanges(new DiskChangeMonitor(*m_documents, *m_area, services.dialogs, this))
    , m_debugger(new ScriptDebugger(*m_documents, *m_area, services.dialogs, *this, this))
    , m_runner(new ScriptRunnerCommand(
          *m_documents, *m_area, services.dialogs, services.editors.liveCheck, *this, this))
    , m_toolbar(new MainToolbar(this))
    , m_help(new HelpMode(services.dialogs, this))
    , m_helpCommands(
          std::make_unique<HelpCommands>(*m_documents, services.dialogs, m_services.paths, *this))
    , m_sidePane(new SidePane)
    , m_optionsCommand(std::make_unique<OptionsCommand>(
          services.dialogs,
          services.editors,
          *m_documents,
          *m_debugger,
          services.settings,
          [this] { return m_settingsEditor; },
          *this))
{
    setWindowTitle(mainCaption);
    setObjectName(QStringLiteral("frmMain"));
    setAcceptDrops(true);
    resize(1000, 720);
    // On a small screen, or with large scaling, the first window still fits.
    if (const QScreen *shown = screen())
        resize(size().boundedTo(shown->availableGeometry().size() * 0.9));
    buildLayout();
    registerCommands();
    connectMenus();
}

MainWindow::~MainWindow()
{
    delete m_settingsEditor;
}

void MainWindow::buildLayout()
{
    auto *documents = new QWidget;
    auto *layout = new QVBoxLayout(documents);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabs->setObjectName(QStringLiteral("tb"));
    layout->addWidget(m_tabs);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    Announcer::presentAsPanel(*m_mdiArea);
    m_mdiArea->setBackground(QColor(0x80, 0x80, 0x80));
    layout->addWidget(m_mdiArea, 1);

    // The side pane on the left, 2625 twips wide at start and never narrower than 2000; the
    // splitter's handle sizes it, with no upper bound.
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("Picture3"));
    m_splitter->addWidget(m_sidePane);
    m_splitter->addWidget(documents);
    m_splitter->setCollapsible(0, false);
    m_splitter->setStretchFactor(1, 1);
    m_sidePane->setMinimumWidth(twipsToPixelsX(*this, 2000));
    m_splitter->setSizes({twipsToPixelsX(*this, 2625), width()});
    setCentralWidget(m_splitter);

    statusBar()->setObjectName(QStringLiteral("stBar"));
    m_position = new StatusPanel(twipsToPixelsX(*this, 5292));
    for (int panel = 1; panel <= 4; ++panel) {
        QLabel *label = panel == 2 ? m_position : new QLabel;
        label->setObjectName(QStringLiteral("panel%1").arg(panel));
        m_panels.append(label);
    }
    m_panels[2]->setMinimumWidth(twipsToPixelsX(*this, 1058));
    m_panels[3]->setMinimumWidth(twipsToPixelsX(*this, 1058));
    m_panels[2]->setText(QStringLiteral("CAPS"));
    m_panels[3]->setText(QStringLiteral("INS"));
    statusBar()->addWidget(m_panels[0], 1);
    for (int panel = 1; panel <= 3; ++panel)
        statusBar()->addPermanentWidget(m_panels[panel]);
    m_liveCheck = new LiveCheckCommands(
        *m_documents, *m_area, m_services, *m_menus, *m_sidePane, *statusBar());
    m_keyStates = new KeyStatePanels(
        *m_panels[2],
        *m_panels[3],
        [this]() -> ScriptEditor * {
            DocumentWindow *document = m_documents->activeDocument();
            return document ? document->editor() : nullptr;
        },
        this);

    addToolBar(Qt::TopToolBarArea, m_toolbar);
    m_help->watch(m_toolbar, QStringLiteral("You can use the toolbar for quick navigation."));
    m_help->watch(m_tabs,
                  QStringLiteral("You can use this toolbar for navigating between documents."));
    m_help->watch(statusBar(), QStringLiteral("The status bar displays important document info."));
    m_help->watch(m_sidePane->pages()->tabBar(),
                  QStringLiteral("You can use this toolbar to select between the Scripting "
                                 "Commands, or the File View."));
    m_help->watch(m_sidePane->fileBrowser()->folders()->viewport(),
                  QStringLiteral("You can select the Folder to use with this."),
                  QEvent::MouseButtonPress,
                  true);
    m_help->watch(m_sidePane->fileBrowser()->drives(),
                  QStringLiteral("You can select the disk drive to use with this box."),
                  QEvent::FocusIn,
                  true);
}

QLabel &MainWindow::statusPanel(int panel) const
{
    return *m_panels.at(panel - 1);
}

void MainWindow::registerCommands()
{
    m_paneFocus = new PaneFocus(
        *m_sidePane,
        *m_menus->action(MenuKey::QuickNav),
        [this]() -> QWidget * {
            DocumentWindow *document = m_documents->activeDocument();
            return document ? document->editor() : nullptr;
        },
        this);
    m_paneFocus->registerIn(m_commands);
    m_fileCommands->registerIn(m_commands);
    m_search->registerIn(m_commands);
    EditCommands::registerIn(m_commands, [this]() -> ScriptEditor * {
        DocumentWindow *document = m_documents->activeDocument();
        return document ? document->editor() : nullptr;
    });
    m_counts->registerIn(m_commands);
    m_debugger->registerIn(m_commands);
    m_runner->registerIn(m_commands);
    m_commands.add(MenuKey::Exit, [this] { close(); });
    m_commands.add(MenuKey::ClickHelp, [this] { m_help->start(); });
    m_commands.add(MenuKey::Generators, [this] { showStartPage(StartPage::Generators); });
    m_commands.add(MenuKey::Toolbar, [this] {
        m_toolbar->setVisible(m_menus->action(MenuKey::Toolbar)->isChecked());
    });
    m_commands.add(MenuKey::QuickNav, [this] {
        m_sidePane->setVisible(m_menus->action(MenuKey::QuickNav)->isChecked());
    });
    m_helpCommands->registerIn(m_commands);
    m_liveCheck->registerIn(m_commands);
    m_optionsCommand->registerIn(m_commands);
    m_commands.add(MenuKey::StatusBar, [this] {
        statusBar()->setVisible(m_menus->action(MenuKey::StatusBar)->isChecked());
    });
    // Editor Options act on the editor in front of the user, where the change shows at once; with
    // none open, on the hidden document's, which keeps what new editors get.
    m_commands.add(MenuKey::EditorOptions, [this] {
        DocumentWindow *active = m_documents->activeDocument();
        if (ScriptEditor *target = active ? active->editor() : m_settingsEditor)
            EditorPropertiesDialog::showFor(*target, m_services.dialogs, this);
    });
    m_commands.add(MenuKey::HighlightLine, [this] {
        m_documents->setHighlightSelectedLine(m_menus->action(MenuKey::HighlightLine)->isChecked());
    });
    m_commands.add(MenuKey::TileHorizontal, [this] { m_area->tile(Qt::Horizontal); });
    m_commands.add(MenuKey::TileVertical, [this] { m_area->tile(Qt::Vertical); });
    m_commands.add(MenuKey::Cascade, [this] { m_area->cascade(); });
}

void MainWindow::connectMenus()
{
    for (auto it = m_menus->actions().cbegin(); it != m_menus->actions().cend(); ++it) {
        const QString key = it.key();
        connect(it.value(), &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    connect(
        m_menus->menu(MenuKey::WindowList), &QMenu::aboutToShow, this, &MainWindow::fillWindowList);
    connect(m_documents, &DocumentManager::positionTextChanged, m_position, &StatusPanel::showText);
    connect(m_documents, &DocumentManager::editMenuRequested, this, [this](const QPoint &pos) {
        m_menus->menu(MenuKey::EditMenu)->popup(pos);
    });
    connect(m_area, &DocumentArea::activated, this, [this](DocumentWindow *document) {
        m_search->follow(document->editor());
        m_keyStates->refreshInsert();
        setWindowTitle(expectedTitle());
    });
    connect(m_documents, &DocumentManager::lastDocumentClosed, this, [this] {
        setWindowTitle(mainCaption);
    });
    connect(m_documents, &DocumentManager::documentCreated, this, [this](DocumentWindow *document) {
        connect(document, &QWidget::windowTitleChanged, this, [this] {
            setWindowTitle(expectedTitle());
        });
    });
    connect(m_sidePane, &SidePane::closeClicked, this, [this] {
        m_menus->action(MenuKey::QuickNav)->setChecked(false);
        m_sidePane->hide();
        if (DocumentWindow *document = m_documents->activeDocument())
            document->editor()->setFocus();
    });
    connect(m_sidePane->quickNav(), &QuickNav::entryChosen, this, &MainWindow::insertQuickNavEntry);
    connect(m_sidePane->fileBrowser(),
            &FileBrowser::fileChosen,
            this,
            [this](const QString &path, const QString &name) {
                m_documents->OpenDocument(path, name);
            });
    connect(m_toolbar, &MainToolbar::buttonClicked, this, [this](const QString &key) {
        runCommand(MainToolbar::commandFor(key));
    });
    connect(
        m_tabs, &DocumentTabs::tagContextMenuRequested, this, [this](int tag, const QPoint &pos) {
            Q_EMIT m_tabs->tagActivated(tag);
            m_menus->tabMenu()->popup(pos);
        });
}

void MainWindow::showStartPage(int tab)
{
    StartPage page(*m_documents, m_services.dialogs, m_recent, mainCaption, this);
    page.showTab(StartPage::Tab(tab));
    m_services.dialogs.runModal(page);
    switch (page.chosenGenerator()) {
    case StartPage::Generator::Healing: {
        HealingGeneratorDialog generator(*m_documents, m_services.dialogs, m_services.paths, this);
        m_services.dialogs.runModal(generator);
        break;
    }
    case StartPage::Generator::Hunting:
        showHuntingGenerator();
        break;
    case StartPage::Generator::None:
        break;
    }
}

HuntingGeneratorWindow *MainWindow::showHuntingGenerator()
{
    auto *generator
        = new HuntingGeneratorWindow(*m_documents,
                                     m_services.dialogs,
                                     m_services.paths.dataFile(QStringLiteral("huntgen.dat")),
                                     this);
    bringToFront(generator);
    return generator;
}

// The entry replaces the selection; the caret stays right after it, where typing goes on.
void MainWindow::insertQuickNavEntry(const QString &text)
{
    DocumentWindow *document = m_documents->activeDocument();
    if (!document)
        return;
    document->editor()->replaceSelectionWith(text);
    document->editor()->setFocus();
}

void MainWindow::runCommand(const QString &key)
{
    m_commands.run(key);
}

void MainWindow::fillWindowList()
{
    QMenu *list = m_menus->menu(MenuKey::WindowList);
    list->clear();
    for (DocumentWindow *document : m_documents->openDocuments()) {
        QAction *item = list->addAction(document->windowTitle());
        item->setCheckable(true);
        item->setChecked(document == m_documents->activeDocument());
        connect(item, &QAction::triggered, this, [this, document] { m_area->activate(document); });
    }
}

// The editor gives up its own bindings on the keys the menus use, and the keys of cut, copy,
// paste, undo, redo, select all and duplicate, so that the menu commands run.
void MainWindow::takeKeysFromTheEditor()
{
    EditorRegistry &registry = m_services.editors.registry;
    using R = EditorRegistry;
    for (R::BoundCommand command :
         {R::Cut, R::Copy, R::Paste, R::Undo, R::Redo, R::SelectAll, R::Duplicate})
        registry.removeBuiltInBindings(command);
    for (const QAction *action : m_menus->actions()) {
        if (!action->shortcut().isEmpty())
            registry.reserveKey(action->shortcut()[0]);
    }
}

void MainWindow::startUp(const QStringList &arguments, const StartUpHooks &hooks)
{
    m_sidePane->quickNav()->fill(m_services.paths.dataFile(QStringLiteral("Temp/tags.dat")));
    if (hooks.fillQuickNav)
        hooks.fillQuickNav(*this);

    // The hidden editor keeps the editor settings; the language is registered with it.
    m_settingsEditor = new ScriptEditor(m_services.editors);
    m_settingsEditor->hide();
    RegisterScriptLanguage(m_services.editors.languages);

    if (hooks.layOutSidePane)
        hooks.layOutSidePane(*this);
    if (hooks.fillFileBrowser)
        hooks.fillFileBrowser(*this);

    takeKeysFromTheEditor();
    openCommandLine(arguments);

    if (DocumentWindow *active = m_documents->activeDocument())
        DocumentManager::applyEditorSetUp(*active->editor());

    if (hooks.showStartPage)
        hooks.showStartPage(*this);
}

QString MainWindow::expectedTitle() const
{
    const DocumentWindow *active
        = m_documents->count() > 0 ? m_documents->activeDocument() : nullptr;
    return active ? active->document().shortName() + QStringLiteral(" - ") + mainCaption
                  : mainCaption;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A maximised document would add its caption to the frame's; the frame keeps its own (the tab
    // strip names the document).
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != expectedTitle())
        setWindowTitle(expectedTitle());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_fileCommands->closeAllForExit()) {
        event->ignore();
        return;
    }
    delete m_settingsEditor;
    m_settingsEditor = nullptr;
    event->accept();
}

} // namespace Korveth
