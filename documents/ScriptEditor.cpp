#include "ScriptEditor.h"

#include "Dialogs.h"
#include "EditorPropertiesDialog.h"
#include "EditorRegistry.h"
#include "FindReplaceDialog.h"
#include "LanguageDefinition.h"
#include "MarginImages.h"
#include "ScriptLexer.h"

#include <Qsci/qscicommandset.h>
#include <Qsci/qsciprinter.h>

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMimeData>

namespace Korveth {

namespace {

constexpr int numberMargin = 0;
constexpr int imageMargin = 1;

QsciPrinter &sharedPrinter()
{
    static QsciPrinter printer;
    return printer;
}

// The built-in commands the program can take the keys away from, by the numbers it uses.
std::optional<QsciCommand::Command> builtInCommand(int number)
{
    switch (number) {
    case 197:
        return QsciCommand::SelectionCut;
    case 140:
        return QsciCommand::SelectionCopy;
    case 198:
        return QsciCommand::Paste;
    case 161:
        return QsciCommand::Undo;
    case 129:
        return QsciCommand::Redo;
    case 139:
        return QsciCommand::SelectAll;
    case 160:
        return QsciCommand::SelectionDuplicate;
    default:
        return std::nullopt;
    }
}

} // namespace

SearchSettings &SearchSettings::shared()
{
    static SearchSettings settings;
    return settings;
}

ScriptEditor::ScriptEditor(QWidget *parent)
    : QsciScintilla(parent)
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

    applyRemovedBindings();

    connect(this, &QsciScintilla::selectionChanged, this, &ScriptEditor::caretOrSelectionChanged);
    connect(
        this, &QsciScintilla::cursorPositionChanged, this, &ScriptEditor::caretOrSelectionChanged);
    connect(this, &QsciScintilla::linesChanged, this, [this] {
        if (marginWidth(imageMargin) > 0)
            DisplayLeftMargin(true);
    });
}

ScriptEditor::~ScriptEditor() = default;

void ScriptEditor::applyRemovedBindings()
{
    for (int number : EditorRegistry::shared().removedBuiltInBindings()) {
        if (const auto command = builtInCommand(number)) {
            if (QsciCommand *bound = standardCommands()->find(*command)) {
                bound->setKey(0);
                bound->setAlternateKey(0);
            }
        }
    }
}

QByteArray ScriptEditor::utf8Text() const
{
    const auto length = SendScintilla(SCI_GETLENGTH);
    const char *text = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return QByteArray(text, length);
}

QString ScriptEditor::Text() const
{
    const QByteArray bytes = utf8Text();
    QByteArray joined;
    joined.reserve(bytes.size() + bytes.size() / 16);
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            joined += "\r\n";
            if (i + 1 < n && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            joined += "\r\n";
        } else {
            joined += c;
        }
    }
    return QString::fromUtf8(joined);
}

QByteArray ScriptEditor::withDocumentLineEnds(const QString &text) const
{
    const QByteArray bytes = text.toUtf8();
    const QByteArrayView eol = lineEndingBytes(m_format.lineEnding);
    QByteArray out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out += eol;
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void ScriptEditor::SetText(const QString &text)
{
    const QByteArray bytes = withDocumentLineEnds(text);
    beginUndoAction();
    SendScintilla(SCI_SETTARGETSTART, 0);
    SendScintilla(SCI_SETTARGETEND, SendScintilla(SCI_GETLENGTH));
    SendScintilla(SCI_REPLACETARGET, bytes.size(), bytes.constData());
    endUndoAction();
}

void ScriptEditor::SetSelText(const QString &text)
{
    replaceSelectedText(QString::fromUtf8(withDocumentLineEnds(text)));
}

ScriptEditor::Range ScriptEditor::GetSel(bool normalise) const
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

void ScriptEditor::SetCaretPos(int line, int column)
{
    line = qBound(0, line, qMax(0, lines() - 1));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, line);
    long position = SendScintilla(SCI_POSITIONRELATIVE, lineStart, qMax(0, column));
    if (position < lineStart || position > lineEnd || (position == 0 && column > 0))
        position = lineEnd;
    SendScintilla(SCI_GOTOPOS, position);
}

void ScriptEditor::ExecuteCmd(int command, int datum)
{
    switch (command) {
    case SelectLine: {
        const int line = GetSel(false).endLine;
        const long start = SendScintilla(SCI_POSITIONFROMLINE, line);
        const long end = line + 1 < lines() ? SendScintilla(SCI_POSITIONFROMLINE, line + 1)
                                            : SendScintilla(SCI_GETLENGTH);
        SendScintilla(SCI_SETSEL, start, end);
        break;
    }
    case SelectAll:
        selectAll();
        break;
    case GoToLine:
        goToLine(datum);
        break;
    case Replace:
        showFindDialog(true);
        break;
    case FindPrevious:
    case FindNext:
        if (SearchSettings::shared().text.isEmpty())
            showFindDialog(false);
        else
            findText(SearchSettings::shared(), command == FindNext);
        break;
    case Find:
        showFindDialog(false);
        break;
    case Properties:
        showPropertiesDialog();
        break;
    default:
        break;
    }
}

void ScriptEditor::goToLine(int datum)
{
    int line = datum;
    if (datum < 0) {
        if (!m_dialogs)
            return;
        const auto chosen = m_dialogs->lineNumber(
            QStringLiteral("Go To Line"), GetSel(false).endLine + 1, lines());
        if (!chosen)
            return;
        line = *chosen - 1;
    }
    SetCaretPos(line, 0);
    ensureLineVisible(line);
    setFocus();
}

void ScriptEditor::showFindDialog(bool replace)
{
    if (!m_findDialog)
        m_findDialog = new FindReplaceDialog(this);
    m_findDialog->showFor(replace);
}

void ScriptEditor::showPropertiesDialog()
{
    EditorPropertiesDialog dialog(*this, window());
    dialog.exec();
}

int ScriptEditor::searchFlags(const SearchSettings &search) const
{
    return (search.matchCase ? SCFIND_MATCHCASE : 0) | (search.wholeWord ? SCFIND_WHOLEWORD : 0);
}

bool ScriptEditor::findText(const SearchSettings &search, bool forward)
{
    if (search.text.isEmpty())
        return false;
    const QByteArray needle = search.text.toUtf8();
    const long length = SendScintilla(SCI_GETLENGTH);
    const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
    const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
    SendScintilla(SCI_SETSEARCHFLAGS, searchFlags(search));

    auto searchRange = [&](long from, long to) {
        SendScintilla(SCI_SETTARGETSTART, from);
        SendScintilla(SCI_SETTARGETEND, to);
        return SendScintilla(SCI_SEARCHINTARGET, needle.size(), needle.constData());
    };
    // Backwards, Scintilla searches when the target start lies after its end.
    long found = forward ? searchRange(selEnd, length) : searchRange(selStart, 0);
    if (found < 0)
        found = forward ? searchRange(0, selEnd) : searchRange(length, selStart);
    if (found < 0)
        return false;
    SendScintilla(SCI_SETSEL, SendScintilla(SCI_GETTARGETSTART), SendScintilla(SCI_GETTARGETEND));
    SendScintilla(SCI_SCROLLCARET);
    return true;
}

bool ScriptEditor::replaceSelection(const SearchSettings &search)
{
    const QString selected = selectedText();
    if (!selected.isEmpty()
        && selected.compare(search.text, search.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
               == 0)
        replaceSelectedText(search.replacement);
    return findText(search, true);
}

int ScriptEditor::replaceAll(const SearchSettings &search)
{
    if (search.text.isEmpty())
        return 0;
    const QByteArray needle = search.text.toUtf8();
    const QByteArray replacement = search.replacement.toUtf8();
    SendScintilla(SCI_SETSEARCHFLAGS, searchFlags(search));
    int count = 0;
    long from = 0;
    beginUndoAction();
    for (;;) {
        SendScintilla(SCI_SETTARGETSTART, from);
        SendScintilla(SCI_SETTARGETEND, SendScintilla(SCI_GETLENGTH));
        if (SendScintilla(SCI_SEARCHINTARGET, needle.size(), needle.constData()) < 0)
            break;
        SendScintilla(SCI_REPLACETARGET, replacement.size(), replacement.constData());
        from = SendScintilla(SCI_GETTARGETEND);
        ++count;
    }
    endUndoAction();
    return count;
}

void ScriptEditor::PrintContents(int, int flags)
{
    if (!m_dialogs)
        return;
    QsciPrinter &printer = sharedPrinter();
    if (flags == PrinterSetup) {
        m_dialogs->pageSetup(printer);
    } else if (flags == PrintDocument) {
        if (m_dialogs->print(printer))
            printer.printRange(this);
    }
}

void ScriptEditor::loadUtf8(const QByteArray &utf8)
{
    // Loading is not an edit: nothing to undo back to an empty document, and no change
    // notifications (the control would copy the whole text into them).
    const long eventMask = SendScintilla(SCI_GETMODEVENTMASK);
    SendScintilla(SCI_SETMODEVENTMASK, 0);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(utf8.size() + 1));
    SendScintilla(SCI_APPENDTEXT, utf8.size(), utf8.constData());
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_SETMODEVENTMASK, eventMask);
    SendScintilla(SCI_GOTOPOS, 0);
    Q_EMIT linesChanged();
}

QString ScriptEditor::OpenFile(const QString &path)
{
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty())
        return read.error;
    loadDecoded(read.text);
    return {};
}

void ScriptEditor::loadDecoded(const DecodedText &decoded)
{
    m_format = decoded.format;
    switch (m_format.lineEnding) {
    case LineEnding::CrLf:
        setEolMode(EolWindows);
        break;
    case LineEnding::Lf:
        setEolMode(EolUnix);
        break;
    case LineEnding::Cr:
        setEolMode(EolMac);
        break;
    }
    loadUtf8(decoded.utf8);
}

ScriptEditor::SaveOutcome ScriptEditor::SaveFile(const QString &path, bool)
{
    SaveOutcome outcome;
    const auto length = SendScintilla(SCI_GETLENGTH);
    const char *text = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    const QByteArrayView utf8(text, length);
    TextFileFormat format = m_format;
    std::optional<QByteArray> bytes = encodeText(utf8, format);
    if (!bytes) {
        format.encoding = TextEncoding::Utf8;
        format.byteOrderMark = false;
        bytes = encodeText(utf8, format);
        outcome.notice = QStringLiteral("The script holds characters that %1 cannot store, so it "
                                        "was saved as UTF-8.")
                             .arg(formatName(m_format));
    }
    outcome.error = writeFileAtomically(path, *bytes);
    if (outcome.error.isEmpty()) {
        m_format = format;
        SendScintilla(SCI_SETSAVEPOINT);
    } else {
        outcome.notice.clear();
    }
    return outcome;
}

void ScriptEditor::Language(const QString &name)
{
    QsciLexer *old = lexer();
    const LanguageDefinition *definition = LanguageRegistry::shared().find(name);
    if (definition) {
        auto *scriptLexer = new ScriptLexer(name, *definition, this);
        setLexer(scriptLexer);
        m_language = name;
    } else {
        setLexer(nullptr);
        m_language.clear();
    }
    delete old;
}

QColor ScriptEditor::colorFromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void ScriptEditor::SetColor(int item, std::uint32_t bgr)
{
    const QColor color = colorFromBgr(bgr);
    switch (item) {
    case 1:
        if (lexer())
            lexer()->setColor(color, int(TokenStyle::Comment));
        break;
    case 26:
        setMarginsBackgroundColor(color);
        break;
    case 27:
        setMarginsForegroundColor(color);
        break;
    default:
        break;
    }
}

void ScriptEditor::SetFontStyle(int item, int style)
{
    if (item != 2 || !lexer())
        return;
    QFont font = lexer()->font(int(TokenStyle::Keyword));
    font.setBold(style & 1);
    font.setItalic(style & 2);
    lexer()->setFont(font, int(TokenStyle::Keyword));
}

void ScriptEditor::DisplayLeftMargin(bool show)
{
    if (!show) {
        setMarginWidth(numberMargin, 0);
        setMarginWidth(imageMargin, 0);
        return;
    }
    const int digits = QString::number(qMax(1, lines())).size();
    setMarginWidth(numberMargin, QString(digits + 1, u'9'));
    setMarginWidth(imageMargin, 16);
}

void ScriptEditor::setHighlightedLine(int line)
{
    markerDeleteAll(highlightMarker);
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
        if (EditorRegistry::shared().commandForKey(key->keyCombination()) != 0) {
            event->accept();
            return true;
        }
    }
    return QsciScintilla::event(event);
}

void ScriptEditor::keyPressEvent(QKeyEvent *event)
{
    const int number = EditorRegistry::shared().commandForKey(event->keyCombination());
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

} // namespace Korveth

namespace Korveth {

// Dropped files are for the main window to open, not text to insert: let them pass up.
void ScriptEditor::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QsciScintilla::dragEnterEvent(event);
}

void ScriptEditor::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    QsciScintilla::dropEvent(event);
}

} // namespace Korveth
