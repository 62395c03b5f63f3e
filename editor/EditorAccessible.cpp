#include "EditorAccessible.h"

#include "ScriptEditor.h"

namespace Korveth {

namespace {

QAccessibleInterface *scriptEditorFactory(const QString &className, QObject *object)
{
    if (className == u"Korveth::ScriptEditor" && object && object->isWidgetType())
        return new EditorAccessible(static_cast<ScriptEditor *>(object));
    return nullptr;
}

} // namespace

EditorAccessible::EditorAccessible(ScriptEditor *editor)
    : QAccessibleWidget(editor, QAccessible::EditableText)
{}

void EditorAccessible::install()
{
    // Factories installed later are asked first: this one comes after the editor control's own.
    static const bool installed = [] {
        QAccessible::installFactory(scriptEditorFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void EditorAccessible::announceSelection(ScriptEditor *editor)
{
    // Nobody listens: typing pays nothing for it.
    if (!QAccessible::isActive())
        return;
    const long start = editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long end = editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    const long caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    QAccessibleTextSelectionEvent event(
        editor, int(editor->characterOffset(start)), int(editor->characterOffset(end)));
    event.setCursorPosition(int(editor->characterOffset(caret)));
    QAccessible::updateAccessibility(&event);
}

ScriptEditor *EditorAccessible::editor() const
{
    return static_cast<ScriptEditor *>(widget());
}

long EditorAccessible::positionOf(int offset) const
{
    return editor()->positionOfCharacter(offset);
}

int EditorAccessible::offsetOf(long position) const
{
    return int(editor()->characterOffset(position));
}

void *EditorAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State EditorAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !editor()->SendScintilla(QsciScintillaBase::SCI_GETREADONLY);
    s.readOnly = !s.editable;
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

void EditorAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    *startOffset = offsetOf(editor()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART));
    *endOffset = offsetOf(editor()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND));
}

int EditorAccessible::selectionCount() const
{
    return editor()->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEMPTY) ? 0 : 1;
}

void EditorAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        editor()->SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION,
                                editor()->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        editor()->SendScintilla(
            QsciScintillaBase::SCI_SETSEL, positionOf(startOffset), positionOf(endOffset));
}

int EditorAccessible::cursorPosition() const
{
    return offsetOf(editor()->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

void EditorAccessible::setCursorPosition(int position)
{
    editor()->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, positionOf(position));
}

QString EditorAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return text(0, characterCount());
    return QAccessibleWidget::text(t);
}

QString EditorAccessible::text(int startOffset, int endOffset) const
{
    const long start = positionOf(startOffset);
    const long end = positionOf(endOffset);
    if (end <= start)
        return {};
    return static_cast<QsciScintilla *>(editor())->text(int(start), int(end));
}

int EditorAccessible::characterCount() const
{
    return offsetOf(editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
}

// Where the character is drawn, in screen coordinates: a magnifier follows the caret by it.
QRect EditorAccessible::characterRect(int offset) const
{
    ScriptEditor *e = editor();
    const long position = positionOf(offset);
    const long next = e->SendScintilla(QsciScintillaBase::SCI_POSITIONAFTER, position);
    const long line = e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position);
    const int x = int(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, position));
    const int y = int(e->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, position));
    const int height = int(e->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, line));
    int width = int(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, next)) - x;
    if (width <= 0 || e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, next) != line)
        width = e->fontMetrics().averageCharWidth(); // a line end, or the end of the text
    return QRect(e->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height));
}

int EditorAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = editor()->viewport()->mapFromGlobal(point);
    const long position = editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                                  static_cast<unsigned long>(local.x()),
                                                  static_cast<long>(local.y()));
    return position < 0 ? -1 : offsetOf(position);
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    editor()->SendScintilla(QsciScintillaBase::SCI_SCROLLRANGE,
                            static_cast<unsigned long>(positionOf(endIndex)),
                            positionOf(startIndex));
}

QString EditorAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

} // namespace Korveth
