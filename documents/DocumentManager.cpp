#include "DocumentManager.h"

#include "Dialogs.h"
#include "DocumentTabs.h"
#include "LanguageDefinition.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace Korveth {

namespace {

const QList<Dialogs::FileFilter> openFilters{
    {QStringLiteral("Script Files (*.cmd)"), QStringLiteral("*.cmd")},
    {QStringLiteral("Wiz Files (*.wiz)"), QStringLiteral("*.wiz")},
    {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
};

const QList<Dialogs::FileFilter> saveFilters{
    {QStringLiteral("Script Files (*.cmd)"), QStringLiteral("*.cmd")},
    {QStringLiteral("Wiz Files (*.wiz)"), QStringLiteral("*.wiz")},
};

bool FileExists(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace

DocumentManager::DocumentManager(QMdiArea &area,
                                 DocumentTabs &tabs,
                                 Dialogs &dialogs,
                                 QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_tabs(tabs)
    , m_dialogs(dialogs)
{
    connect(&m_tabs, &DocumentTabs::tagActivated, this, [this](int tag) {
        for (frmDoc *document : openDocuments()) {
            if (document->TabNum == tag)
                activate(document);
        }
    });
    connect(&m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        if (auto *document = window ? qobject_cast<frmDoc *>(window->widget()) : nullptr) {
            m_tabs.selectTag(document->TabNum);
            Q_EMIT positionTextChanged(document->positionText());
        }
    });
}

DocumentManager::~DocumentManager() = default;

void DocumentManager::applyEditorSetUp(ScriptEditor &editor)
{
    editor.Language(scriptLanguageName);
    editor.SetFontStyle(2, 0);
    editor.DisplayLeftMargin(true);
    editor.SetColor(1, 0x808080);
    editor.SetColor(27, 0x808080);
    editor.SetColor(26, 0xFFFFFF);
}

bool DocumentManager::showLimitMessageIfFull()
{
    if (DocumentCount < maxDocuments)
        return false;
    m_dialogs.inform(QStringLiteral("Document Count"),
                     QStringLiteral("You already have the maximum number of documents open."));
    return true;
}

frmDoc *DocumentManager::createDocument(const QString &path)
{
    const auto free = std::find(Documents.begin(), Documents.end(), nullptr);
    ++DocumentCount;
    ++LastTabNum;
    auto *document = new frmDoc(this, m_dialogs);
    *free = document;
    document->TabNum = LastTabNum;
    document->setEntry(int(free - Documents.begin()) + 1);
    document->setWindowTitle(path.isEmpty() ? QStringLiteral("New Script %1").arg(LastTabNum)
                                            : path);
    document->setHighlightSelectedLine(m_highlightSelectedLine);
    connect(document, &frmDoc::closing, this, &DocumentManager::onDocumentClosing);
    connect(document, &frmDoc::positionTextChanged, this, &DocumentManager::positionTextChanged);
    connect(document, &frmDoc::editMenuRequested, this, &DocumentManager::editMenuRequested);
    connect(document, &frmDoc::focused, &m_tabs, &DocumentTabs::selectTag);
    return document;
}

void DocumentManager::showDocument(frmDoc *document, const QString &tabCaption)
{
    QMdiSubWindow *window = m_area.addSubWindow(document);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    window->setWindowIcon(QIcon(blank));
    const QMdiSubWindow *previous = m_area.activeSubWindow();
    if (m_area.subWindowList().size() == 1 || (previous && previous->isMaximized()))
        window->showMaximized();
    else
        window->show();
    m_area.setActiveSubWindow(window);
    document->rt->setFocus();
    m_tabs.addDocumentTab(document->TabNum, tabCaption);
    applyEditorSetUp(*document->rt);
    Q_EMIT positionTextChanged(document->positionText());
}

frmDoc *DocumentManager::NewDocument()
{
    if (showLimitMessageIfFull())
        return nullptr;
    frmDoc *document = createDocument(QString());
    showDocument(document, document->windowTitle());
    return document;
}

frmDoc *DocumentManager::OpenDocument(const QString &path, const QString &tabCaption, Origin origin)
{
    if (showLimitMessageIfFull())
        return nullptr;
    // Read before anything is created, so that a failure leaves no window, tab or count behind.
    ReadResult read = readTextFile(path);
    if (!read.error.isEmpty()) {
        m_dialogs.inform(QStringLiteral("Open Script"),
                         QStringLiteral("Cannot open \"%1\".\n%2").arg(path, read.error),
                         Dialogs::Icon::Warning);
        return nullptr;
    }
    frmDoc *document = createDocument(path);
    document->rt->loadDecoded(read.text);
    read = {}; // the editor holds its own copy now
    document->Changed = false;
    document->setOpenedFromTemplate(origin == Origin::Template);
    showDocument(document, tabCaption);
    return document;
}

bool DocumentManager::writeDocument(frmDoc *document, const QString &path)
{
    const ScriptEditor::SaveOutcome outcome = document->rt->SaveFile(path, true);
    if (!outcome.error.isEmpty()) {
        m_dialogs.inform(
            QStringLiteral("Save"),
            QStringLiteral("Could not save \"%1\".\n%2\nThe file on disk was left as it was.")
                .arg(path, outcome.error),
            Dialogs::Icon::Warning);
        return false;
    }
    if (!outcome.notice.isEmpty())
        m_dialogs.inform(QStringLiteral("Save"), outcome.notice);
    return true;
}

bool DocumentManager::SaveDocument(int entry)
{
    frmDoc *document = this->document(entry);
    if (!document)
        return false;
    if (document->neverSaved())
        return SaveDocumentAs(entry);
    if (!writeDocument(document, document->windowTitle()))
        return false;
    document->Changed = false;
    return true;
}

bool DocumentManager::SaveDocumentAs(int entry)
{
    frmDoc *document = this->document(entry);
    if (!document)
        return false;
    QString path;
    for (;;) {
        path = m_dialogs.saveFileName(QStringLiteral("Save Script... ") + document->windowTitle(),
                                      saveFilters);
        if (path.isEmpty())
            return false;
        if (!FileExists(path))
            break;
        const auto answer = m_dialogs.message(
            QStringLiteral("Overwrite"),
            path + QStringLiteral(" Already exists.\nDo you want to replace it?"),
            Dialogs::Icon::Question,
            Dialogs::Buttons::YesNo);
        if (answer == Dialogs::Answer::Yes)
            break;
    }
    if (!writeDocument(document, path))
        return false;
    document->setWindowTitle(path);
    document->setOpenedFromTemplate(false);
    applyEditorSetUp(*document->rt); // the file's language, "Perl", with its colours
    document->Changed = false;
    return true;
}

frmDoc *DocumentManager::document(int entry) const
{
    if (entry < 1 || entry > maxDocuments)
        return nullptr;
    return Documents[entry - 1];
}

QMdiSubWindow *DocumentManager::subWindowOf(frmDoc *document) const
{
    for (QMdiSubWindow *window : m_area.subWindowList()) {
        if (window->widget() == document)
            return window;
    }
    return nullptr;
}

frmDoc *DocumentManager::activeDocument() const
{
    QMdiSubWindow *window = m_area.activeSubWindow();
    if (!window) {
        // Offscreen and while another window has the focus, the area may report none active.
        const QList<QMdiSubWindow *> windows
            = m_area.subWindowList(QMdiArea::ActivationHistoryOrder);
        window = windows.isEmpty() ? nullptr : windows.last();
    }
    return window ? qobject_cast<frmDoc *>(window->widget()) : nullptr;
}

void DocumentManager::activate(frmDoc *document)
{
    if (QMdiSubWindow *window = subWindowOf(document)) {
        m_area.setActiveSubWindow(window);
        document->rt->setFocus();
        m_tabs.selectTag(document->TabNum);
    }
}

QList<frmDoc *> DocumentManager::openDocuments() const
{
    QList<frmDoc *> documents;
    for (frmDoc *document : Documents) {
        if (document)
            documents.append(document);
    }
    return documents;
}

void DocumentManager::openCommand()
{
    const QString path = m_dialogs.openFileName(QStringLiteral("Open a Script..."), openFilters);
    if (path.isEmpty())
        return;
    Q_EMIT fileChosenForOpening(path);
    OpenDocument(path, QFileInfo(path).fileName());
}

void DocumentManager::saveCommand()
{
    if (frmDoc *document = activeDocument())
        SaveDocument(document->entry());
}

void DocumentManager::saveAsCommand()
{
    if (frmDoc *document = activeDocument())
        SaveDocumentAs(document->entry());
}

void DocumentManager::saveAllCommand()
{
    frmDoc *noted = activeDocument();
    for (frmDoc *document : openDocuments()) {
        activate(document);
        SaveDocument(document->entry());
    }
    if (noted)
        activate(noted);
}

void DocumentManager::closeCommand()
{
    if (frmDoc *document = activeDocument()) {
        if (QMdiSubWindow *window = subWindowOf(document))
            window->close();
    }
}

void DocumentManager::closeAllCommand()
{
    for (frmDoc *document : openDocuments()) {
        if (QMdiSubWindow *window = subWindowOf(document))
            window->close();
    }
}

bool DocumentManager::closeAllForExit()
{
    for (frmDoc *document : openDocuments()) {
        QMdiSubWindow *window = subWindowOf(document);
        if (window && !window->close())
            return false;
    }
    return true;
}

void DocumentManager::printCommand()
{
    if (frmDoc *document = activeDocument())
        document->rt->PrintContents(0, ScriptEditor::PrintDocument);
}

void DocumentManager::printSetupCommand()
{
    if (frmDoc *document = activeDocument())
        document->rt->PrintContents(0, ScriptEditor::PrinterSetup);
}

void DocumentManager::setHighlightSelectedLine(bool on)
{
    m_highlightSelectedLine = on;
    for (frmDoc *document : openDocuments())
        document->setHighlightSelectedLine(on);
}

void DocumentManager::onDocumentClosing(frmDoc *document)
{
    --DocumentCount;
    m_tabs.removeTag(document->TabNum);
    const int entry = document->entry();
    if (entry >= 1 && entry <= maxDocuments && Documents[entry - 1] == document)
        Documents[entry - 1] = nullptr;
}

} // namespace Korveth
