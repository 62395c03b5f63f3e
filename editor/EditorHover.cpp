#include "EditorHover.h"

#include "ModelPlaces.h"
#include "ScriptEditor.h"
#include "ScriptModel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace Korveth {

EditorHover::EditorHover(ScriptEditor &editor,
                         ModelSource model,
                         std::function<bool()> checking,
                         QObject *parent)
    : QObject(parent)
    , m_editor(editor)
    , m_model(std::move(model))
    , m_checking(std::move(checking))
    , m_viewport(editor.viewport())
{
    editor.indicatorDefine(QsciScintilla::PlainIndicator, linkIndicator);
    editor.setIndicatorForegroundColor(QColor(0x20, 0x50, 0xD0), linkIndicator);
    editor.viewport()->setMouseTracking(true);
    editor.viewport()->installEventFilter(this);
    editor.installEventFilter(this); // Ctrl let go
}

bool EditorHover::showVerdicts(const QHelpEvent &help)
{
    if (!m_checking())
        return false;
    const ScriptModel *model = &m_model();
    const long position = m_editor.SendScintilla(
        QsciScintillaBase::SCI_POSITIONFROMPOINT, help.pos().x(), help.pos().y());
    const int line = int(m_editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                static_cast<unsigned long>(position)));
    QStringList messages;
    if (line >= 0 && line < model->lineCount()) {
        for (const Diagnostic &d : model->diagnostics(line))
            messages.append(d.message().toString());
    }
    if (messages.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help.globalPos(), messages.join(u'\n'), &m_editor);
    return true;
}

void EditorHover::showLinkAt(const QPoint &point)
{
    clearLink();
    const ScriptModel *model = &m_model();
    const auto [line, column]
        = placeOf(m_editor,
                  *model,
                  m_editor.SendScintilla(
                      QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE, point.x(), point.y()));
    const auto range = model->labelRangeAt(line, column);
    if (!range)
        return;
    const qsizetype start = bytePosition(m_editor, *model, line, range->column);
    const qsizetype end = bytePosition(m_editor, *model, line, range->column + range->length);
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, linkIndicator);
    m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                           static_cast<unsigned long>(start),
                           static_cast<long>(end - start));
    m_viewport->setCursor(Qt::PointingHandCursor);
    m_linkShown = true;
}

void EditorHover::clearLink()
{
    if (!m_linkShown)
        return;
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, linkIndicator);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(m_editor.length()));
    m_viewport->unsetCursor();
    m_linkShown = false;
}

bool EditorHover::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched == m_viewport) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if ((mouse->modifiers() & Qt::ControlModifier) && mouse->buttons() == Qt::NoButton) {
            showLinkAt(mouse->position().toPoint());
            // Over a link the editor would put its own pointer back; a bare move loses nothing.
            if (m_linkShown)
                return true;
        } else {
            clearLink();
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::Leave
        || event->type() == QEvent::FocusOut) {
        clearLink();
        return QObject::eventFilter(watched, event);
    }
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            // The press already put the caret where the click was.
            QMetaObject::invokeMethod(this, &EditorHover::labelClicked, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ToolTip)
        return showVerdicts(*static_cast<QHelpEvent *>(event));
    return QObject::eventFilter(watched, event);
}

} // namespace Korveth
