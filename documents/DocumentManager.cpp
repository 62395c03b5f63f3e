#include "DocumentManager.h"

#include "Dialogs.h"
#include "DocumentArea.h"
#include "DocumentTabs.h"
#include "LanguageDefinition.h"

#include <QFileInfo>

namespace Korveth {

namespace {

const QList<Dialogs::FileFilter> saveFilters{
    {QStringLiteral("Script Files (*.cmd)"), QStringLiteral("*.cmd")},
    {QStringLiteral("Wiz Files (*.wiz)"), QStringLiteral("*.wiz")},
};

// Whatever is at the path, readable or not (a dangling link too), would be replaced by a save.
bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

DocumentManager::DocumentManager(DocumentArea &area,
                                 EditorServices &services,
                                 FileStore &store,
                                 Dialogs &dialogs,
                                 QObject *parent)
    : QObject(parent)
    , m_area(area)
    , m_services(services)
    , m_store(store)
    , m_dialogs(dialogs)
{
    connect(&m_area, &DocumentArea::activated, this, [this](DocumentWindow *document) {
        Q_EMIT positionTextChanged(document->positionText());
    });
}

// Windows still open go before the documents they show.
DocumentManager::~DocumentManager()
{
    for (const QPointer<DocumentWindow> &window : m_windows)
        delete window.data();
}

void DocumentManager::applyEditorSetUp(ScriptEditor &editor)
{
    editor.Language(scriptLanguageName);
    editor.SetFontStyle(ScriptEditor::FontStyleItem::Keywords, ScriptEditor::Normal);
    editor.DisplayLeftMargin(true);
    // The design's grey (0x808080) darkened to a contrast of 4.5:1 on white, readable for all.
    using Item = ScriptEditor::ColourItem;
    editor.SetColor(Item::CommentText, 0x767676);
    editor.SetColor(Item::MarginText, 0x767676);
    editor.SetColor(Item::MarginBackground, 0xFFFFFF);
}

bool DocumentManager::showLimitMessageIfFull()
{
    if (!m_table.full())
        return false;
    m_dialogs.inform(QStringLiteral("Document Count"),
                     QStringLiteral("You already have the maximum number of documents open."));
    return true;
}

std::unique_ptr<DocumentWindow> DocumentManager::makeWindow(ScriptDocument &document)
{
    return std::make_unique<DocumentWindow>(m_services, document, this, m_dialogs);
}

DocumentWindow *DocumentManager::enter(std::unique_ptr<ScriptDocument> script,
                                       std::unique_ptr<DocumentWindow> window)
{
    const int entry = m_table.enter(std::move(script)).entry();
    DocumentWindow *document = window.release();
    m_windows[entry - 1] = document;
    document->setHighlightSelectedLine(m_highlightSelectedLine);
    connect(document, &DocumentWindow::closing, this, &DocumentManager::onDocumentClosing);
    connect(document,
            &DocumentWindow::positionTextChanged,
            this,
            &DocumentManager::positionTextChanged);
    connect(
        document, &DocumentWindow::editMenuRequested, this, &DocumentManager::editMenuRequested);
    connect(document, &DocumentWindow::focused, &m_area.tabs(), &DocumentTabs::selectTag);
    connect(document, &DocumentWindow::aboutToAsk, &m_area, &DocumentArea::activate);
    return document;
}

void DocumentManager::showDocument(DocumentWindow *document, const QString &tabCaption)
{
    m_area.show(document, tabCaption);
    applyEditorSetUp(*document->editor());
    Q_EMIT positionTextChanged(document->positionText());
    Q_EMIT documentCreated(document);
}

DocumentWindow *DocumentManager::NewDocument()
{
    if (showLimitMessageIfFull())
        return nullptr;
    auto script = std::make_unique<ScriptDocument>(m_store);
    auto window = makeWindow(*script);
    script->startNew(m_table.lastNumber() + 1);
    DocumentWindow *document = enter(std::move(script), std::move(window));
    showDocument(document, document->document().caption());
    return document;
}

DocumentWindow *
DocumentManager::OpenDocument(const QString &path, const QString &tabCaption, Origin origin)
{
    if (origin == Origin::File) {
        if (DocumentWindow *open = documentOfFile(path)) {
            m_area.activate(open);
            return open;
        }
    }
    if (showLimitMessageIfFull())
        return nullptr;
    // Read into a window of its own before it is entered anywhere, so that a failure leaves no
    // window, tab or count behind.
    auto script = std::make_unique<ScriptDocument>(m_store);
    auto window = makeWindow(*script);
    // A template's text is a new script's, named as one (by the number it is about to take)
    // until it is saved.
    script->startNew(m_table.lastNumber() + 1);
    if (!loadOrReport(*window, path, origin))
        return nullptr;
    DocumentWindow *document = enter(std::move(script), std::move(window));
    showDocument(document, tabCaption);
    return document;
}

bool DocumentManager::loadOrReport(DocumentWindow &document, const QString &path, Origin origin)
{
    const ReadResult read = document.load(path, origin);
    if (!read.error.isEmpty())
        m_dialogs.inform(QStringLiteral("Open Script"),
                         QStringLiteral("Cannot open \"%1\".\n%2").arg(path, read.error),
                         Dialogs::Icon::Warning);
    return read.error.isEmpty();
}

namespace {

bool untouched(const DocumentWindow *document)
{
    return document && document->document().origin() == ScriptDocument::Origin::New
           && !document->Changed();
}

} // namespace

DocumentWindow *DocumentManager::OpenInPlaceOfBlank(const QString &path, const QString &tabCaption)
{
    DocumentWindow *blank = activeDocument();
    if (!untouched(blank) || documentOfFile(path))
        return OpenDocument(path, tabCaption);
    // Untouched, the blank loses nothing should the reading fail half way.
    if (!loadOrReport(*blank, path, Origin::File))
        return nullptr;
    setTabCaption(blank, tabCaption);
    Q_EMIT positionTextChanged(blank->positionText());
    return blank;
}

DocumentWindow *DocumentManager::documentForNewText()
{
    DocumentWindow *active = activeDocument();
    return untouched(active) ? active : NewDocument();
}

void DocumentManager::setTabCaption(DocumentWindow *document, const QString &caption)
{
    m_area.tabs().setCaption(document->tabNumber(), caption);
}

bool DocumentManager::writeDocument(DocumentWindow *document, const QString &path)
{
    const ScriptDocument::SaveOutcome outcome = document->saveTo(path);
    if (!outcome.error.isEmpty()) {
        const QString afterwards
            = outcome.oldKept ? QStringLiteral("The file on disk was left as it was.")
                              : QStringLiteral("The file on disk may be incomplete; the script "
                                               "is still here, unsaved.");
        m_dialogs.inform(
            QStringLiteral("Save"),
            QStringLiteral("Could not save \"%1\".\n%2\n%3").arg(path, outcome.error, afterwards),
            Dialogs::Icon::Warning);
        return false;
    }
    if (!outcome.notice.isEmpty())
        m_dialogs.inform(QStringLiteral("Save"), outcome.notice);
    return true;
}

bool DocumentManager::mayOverwriteChangedFile(DocumentWindow *document)
{
    const ScriptDocument &script = document->document();
    if (script.diskState() != ScriptDocument::DiskState::Modified)
        return true;
    m_area.activate(document);
    const auto answer = m_dialogs.message(
        QStringLiteral("Save"),
        QStringLiteral("\"%1\" was changed by another program since it was opened or saved "
                       "here.\nDo you want to replace it with this Script?")
            .arg(script.path()),
        Dialogs::Icon::Question,
        Dialogs::Buttons::YesNo);
    return answer == Dialogs::Answer::Yes;
}

bool DocumentManager::SaveDocument(int entry)
{
    DocumentWindow *document = this->document(entry);
    if (!document)
        return false;
    if (document->document().neverSaved())
        return SaveDocumentAs(entry);
    if (!mayOverwriteChangedFile(document))
        return false;
    return writeDocument(document, document->document().path());
}

bool DocumentManager::SaveDocumentAs(int entry)
{
    DocumentWindow *document = this->document(entry);
    if (!document)
        return false;
    QString path;
    for (;;) {
        path = m_dialogs.saveFileName(
            QStringLiteral("Save Script... ") + document->document().caption(), saveFilters);
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
    applyEditorSetUp(*document->editor()); // the file's language, "Perl", with its colours
    return true;
}

DocumentWindow *DocumentManager::document(int entry) const
{
    return m_table.at(entry) ? m_windows[entry - 1].data() : nullptr;
}

DocumentWindow *DocumentManager::activeDocument() const
{
    return m_area.active();
}

QList<DocumentWindow *> DocumentManager::openDocuments() const
{
    QList<DocumentWindow *> documents;
    for (const ScriptDocument *script : m_table.documents())
        documents.append(document(script->entry()));
    return documents;
}

DocumentWindow *DocumentManager::documentOfFile(const QString &path) const
{
    const ScriptDocument *script = m_table.ofFile(path);
    return script ? document(script->entry()) : nullptr;
}

void DocumentManager::setHighlightSelectedLine(bool on)
{
    m_highlightSelectedLine = on;
    for (DocumentWindow *document : openDocuments())
        document->setHighlightSelectedLine(on);
}

void DocumentManager::onDocumentClosing(DocumentWindow *document)
{
    m_area.tabs().removeTag(document->tabNumber());
    m_windows[document->entry() - 1] = nullptr;
    // The window is deleted once its close is done; the document it shows goes with it.
    ScriptDocument *closed = m_table.remove(document->document()).release();
    connect(document, &QObject::destroyed, [closed] { delete closed; });
    if (m_table.count() == 0) {
        Q_EMIT positionTextChanged(QString());
        Q_EMIT lastDocumentClosed();
    }
}

} // namespace Korveth
