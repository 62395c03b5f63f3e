#include "frmMain.h"

#include "Dialogs.h"
#include "DocumentManager.h"
#include "DocumentTabs.h"
#include "EditorRegistry.h"
#include "LanguageDefinition.h"
#include "MainMenus.h"
#include "frmDoc.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QVBoxLayout>

namespace Korveth {

namespace {

// Status-bar panel widths come in twips; a screen pixel is 15 twips at 96 dots per inch.
constexpr int twipsPerPixel = 15;

const QString mainCaption = QStringLiteral("Korveth Script Editor");

bool carriesFileList(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty()
           && std::all_of(urls.begin(), urls.end(), [](const QUrl &u) { return u.isLocalFile(); });
}

} // namespace

frmMain::frmMain(Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_area(new QMdiArea)
    , m_tabs(new DocumentTabs)
    , m_menus(std::make_unique<MainMenus>(*menuBar()))
    , m_documents(new DocumentManager(*m_area, *m_tabs, dialogs, this))
{
    setWindowTitle(mainCaption);
    setObjectName(QStringLiteral("frmMain"));
    setAcceptDrops(true);
    resize(1000, 720);
    buildLayout();
    connectCommands();
}

frmMain::~frmMain()
{
    delete m_settingsDocument;
}

void frmMain::buildLayout()
{
    auto *centre = new QWidget;
    auto *layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabs->setObjectName(QStringLiteral("tb"));
    layout->addWidget(m_tabs);
    m_area->setObjectName(QStringLiteral("mdiArea"));
    m_area->setBackground(QColor(0x80, 0x80, 0x80));
    layout->addWidget(m_area, 1);
    setCentralWidget(centre);

    statusBar()->setObjectName(QStringLiteral("stBar"));
    for (int panel = 1; panel <= 4; ++panel) {
        auto *label = new QLabel;
        label->setObjectName(QStringLiteral("panel%1").arg(panel));
        m_panels.append(label);
    }
    m_panels[1]->setMinimumWidth(5292 / twipsPerPixel);
    m_panels[2]->setText(QStringLiteral("CAPS"));
    m_panels[3]->setText(QStringLiteral("INS"));
    statusBar()->addWidget(m_panels[0], 1);
    statusBar()->addPermanentWidget(m_panels[1]);
    statusBar()->addPermanentWidget(m_panels[2]);
    statusBar()->addPermanentWidget(m_panels[3]);
}

QLabel &frmMain::statusPanel(int panel) const
{
    return *m_panels.at(panel - 1);
}

void frmMain::connectCommands()
{
    DocumentManager &docs = *m_documents;
    auto onEditor = [&docs](auto operation) {
        return [&docs, operation] {
            if (frmDoc *document = docs.activeDocument())
                operation(*document->rt);
        };
    };
    auto editorCommand = [&](int command, int datum = 0) {
        return onEditor(
            [command, datum](ScriptEditor &editor) { editor.ExecuteCmd(command, datum); });
    };

    // clang-format off
    m_commands = {
        {QStringLiteral("new"), [&docs] { docs.NewDocument(); }},
        {QStringLiteral("open"), [&docs] { docs.openCommand(); }},
        {QStringLiteral("close"), [&docs] { docs.closeCommand(); }},
        {QStringLiteral("close2"), [&docs] { docs.closeCommand(); }},
        {QStringLiteral("save"), [&docs] { docs.saveCommand(); }},
        {QStringLiteral("save2"), [&docs] { docs.saveCommand(); }},
        {QStringLiteral("saveas"), [&docs] { docs.saveAsCommand(); }},
        {QStringLiteral("saveas2"), [&docs] { docs.saveAsCommand(); }},
        {QStringLiteral("saveall"), [&docs] { docs.saveAllCommand(); }},
        {QStringLiteral("print"), [&docs] { docs.printCommand(); }},
        {QStringLiteral("print2"), [&docs] { docs.printCommand(); }},
        {QStringLiteral("printsetup"), [&docs] { docs.printSetupCommand(); }},
        {QStringLiteral("closeall"), [&docs] { docs.closeAllCommand(); }},
        {QStringLiteral("exit"), [this] { close(); }},
        {QStringLiteral("undo"), onEditor([](ScriptEditor &e) { e.undo(); })},
        {QStringLiteral("redo"), onEditor([](ScriptEditor &e) { e.redo(); })},
        {QStringLiteral("cut"), onEditor([](ScriptEditor &e) { e.cut(); })},
        {QStringLiteral("copy"), onEditor([](ScriptEditor &e) { e.copy(); })},
        {QStringLiteral("paste"), onEditor([](ScriptEditor &e) { e.paste(); })},
        {QStringLiteral("delete"), onEditor([](ScriptEditor &e) { e.SetSelText(QString()); })},
        {QStringLiteral("selectall"), editorCommand(ScriptEditor::SelectAll)},
        {QStringLiteral("selectline"), editorCommand(ScriptEditor::SelectLine)},
        {QStringLiteral("find"), editorCommand(ScriptEditor::Find)},
        {QStringLiteral("findnext"), editorCommand(ScriptEditor::FindNext)},
        {QStringLiteral("findprev"), editorCommand(ScriptEditor::FindPrevious)},
        {QStringLiteral("replaceit"), editorCommand(ScriptEditor::Replace)},
        {QStringLiteral("goto"), editorCommand(ScriptEditor::GoToLine, -1)},
        {QStringLiteral("hlline"),
         [this] {
             QAction *item = m_menus->action(QStringLiteral("hlline"));
             m_documents->setHighlightSelectedLine(item->isChecked());
         }},
        {QStringLiteral("tilehor"), [this] { tile(Qt::Horizontal); }},
        {QStringLiteral("tilever"), [this] { tile(Qt::Vertical); }},
        {QStringLiteral("cascade"), [this] { m_area->cascadeSubWindows(); }},
    };
    // clang-format on

    for (auto it = m_menus->actions().cbegin(); it != m_menus->actions().cend(); ++it) {
        const QString key = it.key();
        connect(it.value(), &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    connect(m_menus->menu(QStringLiteral("wnlist")),
            &QMenu::aboutToShow,
            this,
            &frmMain::fillWindowList);
    connect(m_documents, &DocumentManager::positionTextChanged, m_panels[1], &QLabel::setText);
    connect(m_documents, &DocumentManager::editMenuRequested, this, [this](const QPoint &pos) {
        m_menus->menu(QStringLiteral("edit"))->popup(pos);
    });
    connect(
        m_tabs, &DocumentTabs::tagContextMenuRequested, this, [this](int tag, const QPoint &pos) {
            Q_EMIT m_tabs->tagActivated(tag);
            m_menus->tabMenu()->popup(pos);
        });
}

void frmMain::runCommand(const QString &key)
{
    const auto command = m_commands.constFind(key);
    if (command != m_commands.constEnd())
        (*command)();
}

void frmMain::fillWindowList()
{
    QMenu *list = m_menus->menu(QStringLiteral("wnlist"));
    list->clear();
    for (frmDoc *document : m_documents->openDocuments()) {
        QAction *item = list->addAction(document->windowTitle());
        item->setCheckable(true);
        item->setChecked(document == m_documents->activeDocument());
        connect(
            item, &QAction::triggered, this, [this, document] { m_documents->activate(document); });
    }
}

void frmMain::tile(Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> windows = m_area->subWindowList();
    if (windows.isEmpty())
        return;
    const QRect area = m_area->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *window = windows[i];
        window->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            window->setGeometry(0, i * h, area.width(), h);
        } else {
            const int w = area.width() / n;
            window->setGeometry(i * w, 0, w, area.height());
        }
    }
}

void frmMain::startUp(const QString &commandLine, const StartUpHooks &hooks)
{
    if (hooks.fillQuickNav)
        hooks.fillQuickNav(*this);

    // The hidden document keeps the editor settings; the language is registered with it.
    m_settingsDocument = new frmDoc(nullptr, m_dialogs);
    m_settingsDocument->hide();
    RegisterScriptLanguage(LanguageRegistry::shared());

    if (hooks.layOutSidePane)
        hooks.layOutSidePane(*this);
    if (hooks.fillFileBrowser)
        hooks.fillFileBrowser(*this);

    // Cut, copy, paste, undo, redo, select all and duplicate: the keys go to the menu commands.
    EditorRegistry &registry = EditorRegistry::shared();
    for (int command : {197, 140, 198, 161, 129, 139, 160})
        registry.removeBuiltInBindings(command);

    if (commandLine.isEmpty())
        m_documents->NewDocument();
    else
        m_documents->OpenDocument(commandLine, commandLine);

    if (frmDoc *active = m_documents->activeDocument())
        DocumentManager::applyEditorSetUp(*active->rt);

    if (hooks.showStartPage)
        hooks.showStartPage(*this);
}

void frmMain::openDroppedFiles(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        if (!m_documents->OpenDocument(path, path))
            break;
    }
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A maximised document would add its caption to the frame's; the frame keeps its own (the tab
    // strip names the document).
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != mainCaption)
        setWindowTitle(mainCaption);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_documents->closeAllForExit()) {
        event->ignore();
        return;
    }
    delete m_settingsDocument;
    m_settingsDocument = nullptr;
    event->accept();
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesFileList(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    if (carriesFileList(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void frmMain::dropEvent(QDropEvent *event)
{
    if (!carriesFileList(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    openDroppedFiles(event->mimeData()->urls());
}

} // namespace Korveth
