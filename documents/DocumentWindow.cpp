#include "DocumentWindow.h"

#include "Announcer.h"

#include "Dialogs.h"
#include "EditorServices.h"
#include "ScriptCompletion.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace Korveth {

DocumentWindow::DocumentWindow(EditorServices &services,
                               ScriptDocument &document,
                               DocumentSaver *saver,
                               Dialogs &dialogs,
                               QWidget *parent)
    : QWidget(parent)
    , m_editor(new ScriptEditor(services, this))
    , m_document(document)
    , m_saver(saver)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmDoc"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);
    registerDebugKeys(services);

    m_live = new LiveDiagnostics(*m_editor, services.liveCheck);
    new ScriptCompletion(*m_editor, *m_live);
    connect(&m_document, &ScriptDocument::captionChanged, this, [this](const QString &caption) {
        setWindowTitle(caption);
        m_editor->setAccessibleName(m_document.shortName());
        m_live->setFile(m_document.path());
    });
    connect(m_editor, &ScriptEditor::editing, this, [this] { m_document.setChanged(true); });
    connect(m_editor,
            &ScriptEditor::caretOrSelectionChanged,
            this,
            &DocumentWindow::onSelectionChanged);
    // Text replaced as a whole may leave the caret where it was, with another line count.
    connect(m_editor, &ScriptEditor::linesChanged, this, &DocumentWindow::onSelectionChanged);
    connect(m_editor, &ScriptEditor::gotFocus, this, [this] { Q_EMIT focused(tabNumber()); });
    connect(m_editor, &ScriptEditor::registeredCommand, this, &DocumentWindow::onRegisteredCommand);
    connect(m_editor,
            &ScriptEditor::mouseButton,
            this,
            [this](int button, Qt::KeyboardModifiers, const QPoint &globalPos) {
                if (button == 2)
                    Q_EMIT editMenuRequested(globalPos);
            });
}

// Every window registers the same numbers and keys again; registering twice is harmless.
void DocumentWindow::registerDebugKeys(EditorServices &services)
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

DocumentWindow::~DocumentWindow()
{
    delete m_live; // before the editor it watches
}

void DocumentWindow::showLoaded(const QString &path,
                                const ReadResult &read,
                                ScriptDocument::Origin origin)
{
    m_editor->loadUtf8(read.text.utf8, read.text.format.lineEnding);
    m_document.takeLoaded(path, read, origin);
}

// The document reads its file; the editor shows the text as it comes.
ReadResult DocumentWindow::load(const QString &path, ScriptDocument::Origin origin)
{
    const std::unique_ptr<ScriptEditor::TextLoading> shown = m_editor->startLoading();
    const ReadResult read = m_document.load(path, origin, *shown);
    m_editor->showLoaded(*shown, read);
    return read;
}

ScriptDocument::SaveOutcome DocumentWindow::saveTo(const QString &path)
{
    return m_document.save(path, m_editor->utf8());
}

void DocumentWindow::setHighlightSelectedLine(bool on)
{
    m_highlightSelectedLine = on;
    m_editor->setHighlightedLine(on ? m_editor->selectionRange(true).endLine : -1);
}

QString DocumentWindow::positionText() const
{
    const ScriptEditor::Range range = m_editor->selectionRange(true);
    return QStringLiteral("Row: %1 Col: %2 Lines: %3")
        .arg(range.startLine + 1)
        .arg(range.startColumn + 1)
        .arg(m_editor->linecount());
}

void DocumentWindow::onSelectionChanged()
{
    Q_EMIT positionTextChanged(positionText());
    m_editor->setHighlightedLine(m_highlightSelectedLine ? m_editor->selectionRange(true).endLine
                                                         : -1);
}

void DocumentWindow::onRegisteredCommand(int number)
{
    const int caretLine = m_editor->selectionRange(false).endLine;
    switch (number) {
    case DebugStepInto:
    case DebugStepOver:
        m_editor->setHighlightedLine(caretLine);
        break;
    case DebugBreakpoint:
        Announcer::announce(m_editor, m_editor->toggleBreakpoint(caretLine));
        break;
    default:
        break;
    }
    Q_EMIT debugKey(number);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
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
              || (answer == Dialogs::Answer::Yes && !(m_saver && m_saver->SaveDocument(entry())));
        if (keepOpen) {
            event->ignore();
            m_editor->setFocus();
            return;
        }
    }
    m_closed = true;
    event->accept();
    Q_EMIT closing(this);
}

} // namespace Korveth
