#include "EditorAccessible.h"

#include "ScintillaCharacters.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace Korveth {

namespace {

using Sci = QsciScintillaBase;

QAccessibleInterface *scintillaFactory(const QString &, QObject *object)
{
    // Asked with the most derived class's name first: this answers before the library's own.
    if (auto *control = qobject_cast<QsciScintillaBase *>(object))
        return new EditorAccessible(control);
    return nullptr;
}

// A few lines of the text on their own, so that Qt's own word and character boundaries can be
// found in them without copying a whole script.
class TextWindow final : public QAccessibleTextInterface
{
public:
    explicit TextWindow(QString text)
        : m_text(std::move(text))
    {}
    QString by(bool before,
               bool after,
               int index,
               QAccessible::TextBoundaryType type,
               int *start,
               int *end) const
    {
        auto *self = const_cast<TextWindow *>(this); // the base's lookups are const in all but name
        if (before)
            return self->QAccessibleTextInterface::textBeforeOffset(index, type, start, end);
        if (after)
            return self->QAccessibleTextInterface::textAfterOffset(index, type, start, end);
        return self->QAccessibleTextInterface::textAtOffset(index, type, start, end);
    }

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return m_text.mid(start, end - start); }
    int characterCount() const override { return int(m_text.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QString m_text;
};

// UTF-16 index of a code point offset in a text, and back.
int indexOfCharacter(const QString &text, int offset)
{
    int index = 0;
    for (int i = 0; i < offset && index < text.size(); ++i)
        index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return index;
}

int characterOfIndex(const QString &text, int index)
{
    int characters = 0;
    for (int i = 0; i < index && i < text.size(); ++i)
        characters += text[i].isLowSurrogate() ? 0 : 1;
    return characters;
}

// Keeps what assistive technology was last told of a control's caret and selection, and tells
// it of each change: a text control's caret-moved and selection-changed events.
class CaretFollower final : public QObject
{
public:
    explicit CaretFollower(QsciScintillaBase *control)
        : QObject(control)
        , m_control(control)
    {
        // Every update, as the control's own caret signal: a move is told before what follows
        // from it (a verdict said for the new line).
        connect(control, &QsciScintillaBase::SCN_UPDATEUI, this, &CaretFollower::tell);
    }

private:
    void tell()
    {
        // Nobody listens: typing pays nothing for it.
        if (!QAccessible::isActive())
            return;
        const auto offset = [this](unsigned message) {
            return int(characterOffset(*m_control, m_control->SendScintilla(message)));
        };
        const int caret = offset(Sci::SCI_GETCURRENTPOS);
        const int start = offset(Sci::SCI_GETSELECTIONSTART);
        const int end = offset(Sci::SCI_GETSELECTIONEND);
        if (caret != m_caret) {
            m_caret = caret;
            QAccessibleTextCursorEvent moved(m_control, caret);
            QAccessible::updateAccessibility(&moved);
        }
        if (start != m_start || end != m_end) {
            const bool wasEmpty = m_start == m_end;
            m_start = start;
            m_end = end;
            if (wasEmpty && start == end)
                return; // a caret move, told above
            QAccessibleTextSelectionEvent selected(m_control, start, end);
            selected.setCursorPosition(caret);
            QAccessible::updateAccessibility(&selected);
        }
    }

    QsciScintillaBase *m_control;
    int m_caret = -1;
    int m_start = 0;
    int m_end = 0;
};

} // namespace

EditorAccessible::EditorAccessible(QsciScintillaBase *control)
    : QAccessibleWidget(control, QAccessible::EditableText)
{}

void EditorAccessible::install()
{
    // Factories installed later are asked first: this one comes after the library's own.
    static const bool installed = [] {
        QAccessible::installFactory(scintillaFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void EditorAccessible::followCaret(QsciScintillaBase *control)
{
    install();
    new CaretFollower(control);
}

QsciScintillaBase *EditorAccessible::control() const
{
    return static_cast<QsciScintillaBase *>(widget());
}

long EditorAccessible::positionOf(int offset) const
{
    return positionOfCharacter(*control(), offset);
}

int EditorAccessible::offsetOf(long position) const
{
    return int(characterOffset(*control(), position));
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
    s.editable = !control()->SendScintilla(Sci::SCI_GETREADONLY);
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
    *startOffset = offsetOf(control()->SendScintilla(Sci::SCI_GETSELECTIONSTART));
    *endOffset = offsetOf(control()->SendScintilla(Sci::SCI_GETSELECTIONEND));
}

int EditorAccessible::selectionCount() const
{
    return control()->SendScintilla(Sci::SCI_GETSELECTIONEMPTY) ? 0 : 1;
}

void EditorAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        control()->SendScintilla(Sci::SCI_SETEMPTYSELECTION,
                                 control()->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        control()->SendScintilla(Sci::SCI_SETSEL, positionOf(startOffset), positionOf(endOffset));
}

int EditorAccessible::cursorPosition() const
{
    return offsetOf(control()->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

void EditorAccessible::setCursorPosition(int position)
{
    control()->SendScintilla(Sci::SCI_GOTOPOS, positionOf(position));
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
    QByteArray bytes(end - start + 1, Qt::Uninitialized); // and the terminating zero
    control()->SendScintilla(Sci::SCI_GETTEXTRANGE, start, end, bytes.data());
    return QString::fromUtf8(bytes.constData(), end - start);
}

int EditorAccessible::characterCount() const
{
    return offsetOf(control()->SendScintilla(Sci::SCI_GETLENGTH));
}

std::pair<int, int> EditorAccessible::lineAround(int offset) const
{
    const long line = control()->SendScintilla(Sci::SCI_LINEFROMPOSITION, positionOf(offset));
    return {offsetOf(control()->SendScintilla(Sci::SCI_POSITIONFROMLINE, line)),
            offsetOf(control()->SendScintilla(Sci::SCI_POSITIONFROMLINE, line + 1))};
}

QString EditorAccessible::textBy(Side side,
                                 int offset,
                                 QAccessible::TextBoundaryType boundaryType,
                                 int *startOffset,
                                 int *endOffset) const
{
    const int count = characterCount();
    offset = std::clamp(offset, 0, count);
    *startOffset = *endOffset = -1;
    if (boundaryType == QAccessible::NoBoundary) {
        if (side != Side::At)
            return {};
        *startOffset = 0;
        *endOffset = count;
        return text(0, count);
    }
    const auto [lineStart, nextLine] = lineAround(offset);
    if (boundaryType == QAccessible::LineBoundary
        || boundaryType == QAccessible::ParagraphBoundary) {
        // A script's paragraph is its line; each ends with its line end, as a text control's does.
        std::pair<int, int> line{lineStart, nextLine};
        if (side == Side::Before) {
            if (lineStart == 0)
                return {};
            line = lineAround(lineStart - 1);
        } else if (side == Side::After) {
            if (nextLine >= count)
                return {};
            line = lineAround(nextLine);
        }
        *startOffset = line.first;
        *endOffset = line.second;
        return text(line.first, line.second);
    }
    // Characters, words and sentences are found in the line and its neighbours.
    const int from = lineStart == 0 ? 0 : lineAround(lineStart - 1).first;
    const int to = nextLine >= count ? count : lineAround(nextLine).second;
    const QString window = text(from, to);
    int start = 0;
    int end = 0;
    const QString found = TextWindow(window).by(side == Side::Before,
                                                side == Side::After,
                                                indexOfCharacter(window, offset - from),
                                                boundaryType,
                                                &start,
                                                &end);
    if (start < 0 || end < 0) {
        if (side == Side::At) // at the end of the text: nothing, there
            *startOffset = *endOffset = offset;
        return {};
    }
    *startOffset = from + characterOfIndex(window, start);
    *endOffset = from + characterOfIndex(window, end);
    return found;
}

QString EditorAccessible::textBeforeOffset(int offset,
                                           QAccessible::TextBoundaryType boundaryType,
                                           int *startOffset,
                                           int *endOffset) const
{
    return textBy(Side::Before, offset, boundaryType, startOffset, endOffset);
}

QString EditorAccessible::textAfterOffset(int offset,
                                          QAccessible::TextBoundaryType boundaryType,
                                          int *startOffset,
                                          int *endOffset) const
{
    return textBy(Side::After, offset, boundaryType, startOffset, endOffset);
}

QString EditorAccessible::textAtOffset(int offset,
                                       QAccessible::TextBoundaryType boundaryType,
                                       int *startOffset,
                                       int *endOffset) const
{
    return textBy(Side::At, offset, boundaryType, startOffset, endOffset);
}

// Where the character is drawn, in screen coordinates: a magnifier follows the caret by it.
QRect EditorAccessible::characterRect(int offset) const
{
    QsciScintillaBase *c = control();
    const long position = positionOf(std::clamp(offset, 0, characterCount()));
    const long next = c->SendScintilla(Sci::SCI_POSITIONAFTER, position);
    const long line = c->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const int x = int(c->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, position));
    const int y = int(c->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, position));
    const int height = int(c->SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    int width = int(c->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, next)) - x;
    if (width <= 0 || c->SendScintilla(Sci::SCI_LINEFROMPOSITION, next) != line)
        width = c->fontMetrics().averageCharWidth(); // a line end, or the end of the text
    return QRect(c->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height));
}

int EditorAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = control()->viewport()->mapFromGlobal(point);
    const long position = control()->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE,
                                                   static_cast<unsigned long>(local.x()),
                                                   static_cast<long>(local.y()));
    return position < 0 ? -1 : offsetOf(position);
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    control()->SendScintilla(Sci::SCI_SCROLLRANGE,
                             static_cast<unsigned long>(positionOf(endIndex)),
                             positionOf(startIndex));
}

// No attributes, over the whole line: a reader that reads a line by its runs reads all of it.
QString EditorAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    const auto [start, end] = lineAround(std::clamp(offset, 0, characterCount()));
    *startOffset = start;
    *endOffset = end;
    return {};
}

} // namespace Korveth
