#include "frmDoc.h"

#include "Dialogs.h"
#include "EditorServices.h"
#include "ScriptCompletion.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace Korveth {

frmDoc::frmDoc(EditorServices &services,
               FileStore &store,
               DocumentSaver *saver,
               Dialogs &dialogs,
               QWidget *parent)
    : QWidget(parent)
    , rt(new ScriptEditor(services, this))
    , m_document(store, this)
    , m_saver(saver)
    , m_dialogs(dialogs)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rt);
    setFocusProxy(rt);
    registerDebugKeys(services);

    m_live = new LiveDiagnostics(*rt, services.liveCheck);
    new ScriptCompletion(*rt, *m_live);
    connect(&m_document, &ScriptDocument::captionChanged, this, [this](const QString &caption) {
        setWindowTitle(caption);
        rt->setAccessibleName(m_document.shortName());
        m_live->setFile(m_document.path());
    });
    connect(rt, &ScriptEditor::editing, this, [this] { m_document.setChanged(true); });
    connect(rt, &ScriptEditor::caretOrSelectionChanged, this, &frmDoc::onSelectionChanged);
    // Text replaced as a whole may leave the caret where it was, with another line count.
    connect(rt, &QsciScintilla::linesChanged, this, &frmDoc::onSelectionChanged);
    connect(rt, &ScriptEditor::gotFocus, this, [this] { Q_EMIT focused(TabNum); });
    connect(rt, &ScriptEditor::registeredCommand, this, &frmDoc::onRegisteredCommand);
    connect(rt,
            &ScriptEditor::mouseButton,
            this,
            [this](int button, Qt::KeyboardModifiers, const QPoint &globalPos) {
                if (button == 2)
                    Q_EMIT editMenuRequested(globalPos);
            });
}

// Every window registers the same numbers and keys again; registering twice is harmless.
void frmDoc::registerDebugKeys(EditorServices &services)
{
    EditorRegistry &registry = services.registry;
    registry.registerCommand(DebugStepInto,
                             QStringLiteral("DebugStepInto"),
                             QStringLiteral("Steps into the current function while debugging."));
    registry.registerHotKey(QKeyCombination(Qt::Key_F8), DebugStepInto);
    registry.registerCommand(DebugStepOver,
                             QStringLiteral("DebugStepOver"),
                             QStringLiteral("Steps over the current function while debugging."));
    registry.registerHotKey(QKeyCombination(Qt::Key_F10), DebugStepOver);
    registry.registerCommand(DebugBreakpoint,
                             QStringLiteral("DebugBreakpoint"),
                             QStringLiteral("Sets a breakpoint at the current line."));
    registry.registerHotKey(QKeyCombination(Qt::Key_F9), DebugBreakpoint);
}

frmDoc::~frmDoc()
{
    delete m_live; // before the editor it watches
}

void frmDoc::showLoaded(const QString &path, const ReadResult &read, ScriptDocument::Origin origin)
{
    rt->loadUtf8(read.text.utf8, read.text.format.lineEnding);
    m_document.takeLoaded(path, read, origin);
}

ReadResult frmDoc::load(const QString &path, ScriptDocument::Origin origin)
{
    const ReadResult read = rt->loadFile(path);
    if (read.error.isEmpty())
        m_document.takeLoaded(path, read, origin);
    return read;
}

ScriptDocument::SaveOutcome frmDoc::saveTo(const QString &path)
{
    return m_document.save(path, rt->utf8());
}

void frmDoc::setHighlightSelectedLine(bool on)
{
    m_highlightSelectedLine = on;
    lastSelection = rt->GetSel(true);
    rt->setHighlightedLine(on ? lastSelection.endLine : -1);
}

QString frmDoc::positionText() const
{
    const ScriptEditor::Range range = rt->GetSel(true);
    return QStringLiteral("Row: %1 Col: %2 Lines: %3")
        .arg(range.startLine + 1)
        .arg(range.startColumn + 1)
        .arg(rt->linecount());
}

void frmDoc::onSelectionChanged()
{
    lastSelection = rt->GetSel(true);
    Q_EMIT positionTextChanged(positionText());
    rt->setHighlightedLine(m_highlightSelectedLine ? lastSelection.endLine : -1);
}

void frmDoc::onRegisteredCommand(int number)
{
    const int caretLine = rt->GetSel(false).endLine;
    switch (number) {
    case DebugStepInto:
    case DebugStepOver:
        rt->setHighlightedLine(caretLine);
        break;
    case DebugBreakpoint:
        rt->setMarginMask(caretLine, rt->marginMask(caretLine) ^ 2);
        break;
    default:
        break;
    }
}

void frmDoc::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (Changed()) {
        Q_EMIT aboutToAsk(this);
        const Dialogs::Answer answer = m_dialogs.message(
            QStringLiteral("Save"),
            QStringLiteral("You have made changes to this Script. Do you wish to save?"),
            Dialogs::Icon::Question,
            Dialogs::Buttons::YesNoCancel);
        // A save that was cancelled or failed keeps the window: closing would lose the edits.
        const bool keepOpen
            = answer == Dialogs::Answer::Cancel
              || (answer == Dialogs::Answer::Yes && !(m_saver && m_saver->SaveDocument(m_entry)));
        if (keepOpen) {
            event->ignore();
            rt->setFocus();
            return;
        }
    }
    m_closed = true;
    event->accept();
    Q_EMIT closing(this);
}

} // namespace Korveth
