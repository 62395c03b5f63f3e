#include "ScriptEditor.h"

#include "EditorAccessible.h"
#include "EditorAppearance.h"
#include "EditorKeys.h"
#include "EditorServices.h"
#include "MarginImages.h"
#include "ScintillaCharacters.h"
#include "ScriptLexer.h"
#include "TextLines.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMimeData>
#include <QPainter>

namespace Korveth {

namespace {

// By LineEnding: CR LF, LF, CR.
constexpr QsciScintilla::EolMode eolModes[]{
    QsciScintilla::EolWindows, QsciScintilla::EolUnix, QsciScintilla::EolMac};

// Only the notifications sent as a change begins. The control's binding answers each one sent
// after a change by counting the characters from the start of the text to the change (to tell
// assistive technology where it was), so every key would cost in proportion to how far into the
// script it is typed: 0.2 s at the end of 50 MB.
constexpr long changeEvents
    = QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;

} // namespace

ScriptEditor::ScriptEditor(EditorServices &services, QWidget *parent)
    : QsciScintilla(parent)
    , m_services(services)
{
    setUtf8(true);
    setEolMode(EolWindows);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    setMarginsFont(font);
    setTabWidth(4);
    // Grow the horizontal scroll range with the lines shown instead of a fixed guess.
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    // The editor styles what it shows before painting it; its lexer leaves the text a jump
    // passes over for when the editor is idle (ScriptLexer).
    SendScintilla(SCI_SETIDLESTYLING, SC_IDLESTYLING_NONE);
    // Typing past the right edge moves the view half a width at once: moved a character per key,
    // every line shown is drawn again on every key.
    SendScintilla(SCI_SETXCARETPOLICY, CARET_JUMPS | CARET_EVEN, 0L);

    for (int i = 0; i < marginImageCount; ++i)
        markerDefine(marginImage(i), i);
    markerDefine(QsciScintilla::Background, highlightMarker);
    setMarkerBackgroundColor(QColor(0xFF, 0xF4, 0xB0), highlightMarker);
    setMarginType(numberMargin, NumberMargin);
    setMarginType(imageMargin, SymbolMargin);
    setMarginMarkerMask(numberMargin, 0);
    setMarginMarkerMask(imageMargin, 0x07);
    setMarginWidth(numberMargin, 0);
    setMarginWidth(imageMargin, 0);

    takeProgramKeys(*standardCommands(), m_services.registry);

    SendScintilla(SCI_SETMODEVENTMASK, changeEvents);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &ScriptEditor::changeBegins);

    // A screen reader learns of the caret and the selection through the program's own accessible
    // interface for the editor, which knows where each character is drawn.
    EditorAccessible::followCaret(this);
    connect(this, &QsciScintilla::selectionChanged, this, &ScriptEditor::caretOrSelectionChanged);
    connect(
        this, &QsciScintilla::cursorPositionChanged, this, &ScriptEditor::caretOrSelectionChanged);
    connect(this, &QsciScintilla::linesChanged, this, [this] {
        if (marginWidth(imageMargin) > 0)
            DisplayLeftMargin(true);
    });
}

ScriptEditor::~ScriptEditor() = default;

void ScriptEditor::changeBegins(int position, int type, const char *text, int length)
{
    finishChange(); // the one before is done by now
    m_changePending = true;
    if (QAccessible::isActive()) {
        const int offset = int(characterOffset(position));
        if (type & SC_MOD_BEFOREINSERT) {
            m_announcement = std::make_unique<QAccessibleTextInsertEvent>(
                this, offset, QString::fromUtf8(text, length));
        } else {
            m_announcement = std::make_unique<QAccessibleTextRemoveEvent>(
                this, offset, QsciScintilla::text(position, position + length));
        }
    }
    // Typing and the editor's own edits are finished when their event or call returns; the
    // rest (undo from a menu, say) when the event loop is next reached.
    if (!m_finishQueued) {
        m_finishQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_finishQueued = false;
                finishChange();
            },
            Qt::QueuedConnection);
    }
    const long size = SendScintilla(SCI_GETLENGTH);
    if (type & SC_MOD_BEFOREINSERT)
        Q_EMIT bytesChanging(size, position, 0, length);
    else
        Q_EMIT bytesChanging(size, position, length, 0);
    Q_EMIT editing();
}

void ScriptEditor::finishChange()
{
    if (!m_changePending)
        return;
    m_changePending = false;
    if (m_announcement) {
        QAccessible::updateAccessibility(m_announcement.get());
        m_announcement.reset();
    }
    if (lines() != m_lineCount) {
        m_lineCount = lines();
        Q_EMIT linesChanged();
    }
}

QString ScriptEditor::toggleBreakpoint(int line)
{
    setMarginMask(line, marginMask(line) ^ breakpointBit);
    return (marginMask(line) & breakpointBit)
               ? tr("Breakpoint set on line %1.").arg(line + 1)
               : tr("Breakpoint removed from line %1.").arg(line + 1);
}

long ScriptEditor::characterOffset(long position) const
{
    return Korveth::characterOffset(*this, position);
}

long ScriptEditor::positionOfCharacter(long offset) const
{
    return Korveth::positionOfCharacter(*this, offset);
}

QByteArrayView ScriptEditor::utf8() const
{
    const auto length = SendScintilla(SCI_GETLENGTH);
    const char *text = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QByteArrayView(text, length);
}

QByteArray ScriptEditor::utf8(qsizetype from, qsizetype length) const
{
    if (length <= 0)
        return {};
    QByteArray part(length + 1, Qt::Uninitialized); // and the control's closing NUL
    SendScintilla(SCI_GETTEXTRANGE, long(from), long(from + length), part.data());
    part.chop(1);
    return part;
}

QString ScriptEditor::crlfText() const
{
    return QString::fromUtf8(withLineEnds(utf8(), "\r\n"));
}

void ScriptEditor::setWholeText(const QString &text)
{
    replaceWholeText(withLineEnds(text.toUtf8(), lineEndingBytes(m_lineEnding)));
}

void ScriptEditor::replaceWholeText(const QByteArray &utf8)
{
    beginUndoAction();
    SendScintilla(SCI_SETTARGETSTART, 0);
    SendScintilla(SCI_SETTARGETEND, SendScintilla(SCI_GETLENGTH));
    SendScintilla(SCI_REPLACETARGET, utf8.size(), utf8.constData());
    endUndoAction();
    finishChange();
}

void ScriptEditor::replaceSelectionWith(const QString &text)
{
    const QByteArray bytes = withLineEnds(text.toUtf8(), lineEndingBytes(m_lineEnding));
    replaceSelectedText(QString::fromUtf8(bytes));
    finishChange();
}

void ScriptEditor::replaceRanges(const QList<std::pair<qsizetype, qsizetype>> &ranges,
                                 const QString &text)
{
    if (ranges.isEmpty())
        return;
    const QByteArray utf8 = text.toUtf8();
    beginUndoAction();
    // From the last back, so that the earlier ranges keep their places.
    for (auto it = ranges.crbegin(); it != ranges.crend(); ++it) {
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(it->first), long(it->second));
        SendScintilla(SCI_REPLACETARGET, utf8.size(), utf8.constData());
    }
    endUndoAction();
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(ranges.front().first + utf8.size()));
    finishChange();
}

ScriptEditor::Range ScriptEditor::selectionRange(bool normalise) const
{
    long anchor = SendScintilla(SCI_GETANCHOR);
    long caret = SendScintilla(SCI_GETCURRENTPOS);
    if (normalise && anchor > caret)
        std::swap(anchor, caret);
    auto lineAndColumn = [this](long position) {
        const int line = int(SendScintilla(SCI_LINEFROMPOSITION, position));
        const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
        return std::pair{line, int(SendScintilla(SCI_COUNTCHARACTERS, lineStart, position))};
    };
    const auto [startLine, startColumn] = lineAndColumn(anchor);
    const auto [endLine, endColumn] = lineAndColumn(caret);
    return {startLine, startColumn, endLine, endColumn};
}

void ScriptEditor::setCaretPosition(int line, int column)
{
    line = qBound(0, line, qMax(0, lines() - 1));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, line);
    long position = SendScintilla(SCI_POSITIONRELATIVE, lineStart, qMax(0, column));
    if (position < lineStart || position > lineEnd || (position == 0 && column > 0))
        position = lineEnd;
    SendScintilla(SCI_GOTOPOS, position);
}

void ScriptEditor::selectCaretLine()
{
    const int line = selectionRange(false).endLine;
    const long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long end = line + 1 < lines() ? SendScintilla(SCI_POSITIONFROMLINE, line + 1)
                                        : SendScintilla(SCI_GETLENGTH);
    SendScintilla(SCI_SETSEL, start, end);
}

void ScriptEditor::runBuiltInCommand(int command, int datum)
{
    switch (command) {
    case SelectLine:
        selectCaretLine();
        break;
    case SelectAll:
        selectAll();
        break;
    case GoToLine:
        if (datum >= 0) {
            setCaretPosition(datum, 0);
            ensureLineVisible(datum);
            setFocus();
        }
        break;
    default:
        break;
    }
}

ScriptEditor::TextLoading::TextLoading(ScriptEditor &editor)
    : m_editor(editor)
    , m_eventMask(editor.SendScintilla(SCI_GETMODEVENTMASK))
{
    Q_EMIT m_editor.textReplacing();
    m_editor.SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    m_editor.SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    m_editor.SendScintilla(SCI_CLEARALL);
}

void ScriptEditor::TextLoading::expect(qint64 bytes)
{
    // Room for a little more than the file: Windows-1252 text grows a byte for each accented
    // letter as it becomes UTF-8, and a control that outgrows its room copies all it holds.
    m_editor.SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(bytes + bytes / 256 + 1));
}

void ScriptEditor::TextLoading::append(QByteArrayView utf8)
{
    m_editor.SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()), utf8.data());
}

void ScriptEditor::TextLoading::discard()
{
    m_editor.SendScintilla(SCI_CLEARALL);
}

void ScriptEditor::TextLoading::finish(LineEnding lineEnding)
{
    m_editor.m_lineEnding = lineEnding;
    m_editor.setEolMode(eolModes[int(lineEnding)]);
    m_editor.SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    m_editor.SendScintilla(SCI_EMPTYUNDOBUFFER);
    m_editor.SendScintilla(SCI_SETSAVEPOINT);
    m_editor.SendScintilla(SCI_SETMODEVENTMASK, m_eventMask);
    m_editor.SendScintilla(SCI_GOTOPOS, 0UL);
    m_editor.m_lineCount = m_editor.lines();
    Q_EMIT m_editor.textReplaced();
    Q_EMIT m_editor.linesChanged();
}

void ScriptEditor::loadUtf8(const QByteArray &utf8, LineEnding lineEnding)
{
    TextLoading loading(*this);
    loading.expect(utf8.size());
    loading.append(utf8);
    loading.finish(lineEnding);
}

std::unique_ptr<ScriptEditor::TextLoading> ScriptEditor::startLoading()
{
    return std::make_unique<TextLoading>(*this);
}

void ScriptEditor::showLoaded(TextLoading &loading, const ReadResult &read)
{
    if (!read.error.isEmpty())
        loading.discard();
    loading.finish(read.text.format.lineEnding);
}

void ScriptEditor::setHighlightedLine(int line)
{
    if (line == m_highlightedLine && (line < 0 || (markersAtLine(line) & (1 << highlightMarker))))
        return;
    // One line holds the mark, where it was put unless lines were added or removed above it:
    // looked for there, then where the caret went, then outward, not on every line of the script.
    if (m_highlightedLine >= 0) {
        const int mark = 1 << highlightMarker;
        int at = m_highlightedLine;
        if (!(markersAtLine(at) & mark))
            at = line >= 0 && (markersAtLine(line) & mark) ? line : markerFindNext(at, mark);
        if (at < 0)
            at = markerFindPrevious(m_highlightedLine, mark);
        if (at >= 0)
            markerDelete(at, highlightMarker);
    }
    m_highlightedLine = line;
    if (line >= 0)
        markerAdd(line, highlightMarker);
}

std::uint8_t ScriptEditor::marginMask(int line) const
{
    return std::uint8_t(markersAtLine(line) & 0xFF);
}

void ScriptEditor::setMarginMask(int line, std::uint8_t mask)
{
    for (int marker = 0; marker < 8; ++marker) {
        markerDelete(line, marker);
        if (mask & (1u << marker))
            markerAdd(line, marker);
    }
}

bool ScriptEditor::event(QEvent *event)
{
    // Registered hot keys reach the editor before any menu shortcut on the same key.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_services.registry.commandForKey(key->keyCombination()) != 0) {
            event->accept();
            return true;
        }
    }
    const bool handled = QsciScintilla::event(event);
    finishChange();
    return handled;
}

void ScriptEditor::keyPressEvent(QKeyEvent *event)
{
    const int number = m_services.registry.commandForKey(event->keyCombination());
    if (number != 0) {
        event->accept();
        Q_EMIT registeredCommand(number);
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

void ScriptEditor::focusInEvent(QFocusEvent *event)
{
    QsciScintilla::focusInEvent(event);
    Q_EMIT gotFocus();
}

void ScriptEditor::contextMenuEvent(QContextMenuEvent *event)
{
    // The program shows its own Edit menu instead of the control's.
    event->accept();
    Q_EMIT mouseButton(2, event->modifiers(), event->globalPos());
}

// Dropped files are for the main window to open, not text to insert: let them pass up.
bool ScriptEditor::viewportEvent(QEvent *event)
{
    const auto type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        && static_cast<QDropEvent *>(event)->mimeData()->hasUrls()) {
        event->ignore();
        return false;
    }
    const bool handled = QsciScintilla::viewportEvent(event);
    finishChange();
    return handled;
}

void ScriptEditor::paintEvent(QPaintEvent *event)
{
    QsciScintilla::paintEvent(event);
    if (m_overlay) {
        QPainter painter(viewport());
        m_overlay->paintOver(painter, event->rect());
    }
}

} // namespace Korveth
