#include "LiveDiagnostics.h"

#include "LiveCheckSettings.h"
#include "ScriptEditor.h"
#include "ScriptFiles.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QtConcurrent/QtConcurrentRun>

namespace Korveth {

namespace {

// The byte position in the editor of a column (UTF-16 units) on a line.
qsizetype bytePosition(ScriptEditor &editor, const ScriptModel &model, int line, qsizetype column)
{
    const long lineStart = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const QStringView text = model.lineText(line);
    return lineStart + text.first(qMin(column, text.size())).toUtf8().size();
}

} // namespace

LiveDiagnostics::LiveDiagnostics(ScriptEditor &editor, LiveCheckSettings &settings)
    : QObject(&editor)
    , m_editor(editor)
    , m_settings(settings)
    , m_viewport(editor.viewport())
    , m_model(settings.dialect())
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(restMs);
    connect(&m_rest, &QTimer::timeout, this, &LiveDiagnostics::checkInBackground);
    connect(&m_worker, &QFutureWatcher<void>::finished, this, &LiveDiagnostics::checked);
    // A loaded file sends no edit, only its new line count.
    auto textChanged = [this] {
        m_stale = true;
        if (checking())
            m_rest.start();
    };
    connect(&editor, &ScriptEditor::editing, this, textChanged);
    connect(&editor, &QsciScintilla::linesChanged, this, textChanged);
    connect(&settings, &LiveCheckSettings::changed, this, [this] {
        m_worker.waitForFinished();
        m_model.setDialectChoice(m_settings.dialect());
        m_stale = true;
        refresh();
    });

    editor.setMarginType(mistakeMargin, QsciScintilla::SymbolMargin);
    editor.setMarginMarkerMask(mistakeMargin, 1 << mistakeMarker);
    editor.setMarginWidth(mistakeMargin, 0);
    editor.markerDefine(QsciScintilla::Circle, mistakeMarker);
    editor.setMarkerBackgroundColor(QColor(0xD0, 0x30, 0x30), mistakeMarker);
    editor.setMarkerForegroundColor(QColor(0x90, 0x10, 0x10), mistakeMarker);
    editor.indicatorDefine(QsciScintilla::SquiggleIndicator, mistakeIndicator);
    editor.setIndicatorForegroundColor(QColor(0xE0, 0x20, 0x20), mistakeIndicator);
    editor.indicatorDefine(QsciScintilla::PlainIndicator, linkIndicator);
    editor.setIndicatorForegroundColor(QColor(0x20, 0x50, 0xD0), linkIndicator);
    editor.viewport()->setMouseTracking(true);
    editor.viewport()->installEventFilter(this);
    editor.installEventFilter(this); // Ctrl let go
    connect(
        &editor, &ScriptEditor::caretOrSelectionChanged, this, &LiveDiagnostics::describeCaretLine);
    m_rest.start();
}

void LiveDiagnostics::setFile(const QString &path)
{
    const QFileInfo file(path);
    const QString folder = path.isEmpty() ? QString() : file.absolutePath();
    const bool isScript = path.isEmpty() || isScriptFileName(file.fileName());
    if (folder == m_folder && isScript == m_isScript)
        return;
    m_folder = folder;
    m_isScript = isScript;
    // Includes found or lost there change verdicts; the next check reads them, on its thread.
    m_stale = true;
    if (checking())
        m_rest.start();
    else
        refresh();
}

bool LiveDiagnostics::checking() const
{
    return m_settings.enabled() && m_isScript;
}

LiveDiagnostics::~LiveDiagnostics()
{
    m_worker.waitForFinished();
}

void LiveDiagnostics::checkInBackground()
{
    if (!checking() || tooLarge()) {
        refresh();
        return;
    }
    if (m_worker.isRunning()) {
        m_rest.start(); // once this one is done
        return;
    }
    // The thread gets its own copy of the text; the editor goes on changing its own.
    const QByteArray text = m_editor.utf8().toByteArray();
    m_stale = false;
    m_worker.setFuture(QtConcurrent::run([this, text, folder = m_folder] {
        m_model.setFolder(folder);
        m_model.update(text);
    }));
}

void LiveDiagnostics::checked()
{
    keepCompletionWords();
    // Marks painted from an older text would stand in the wrong places: typing went on, so the
    // next rest checks again, and paints.
    if (m_stale)
        return;
    paint();
    Q_EMIT mistakesChanged(m_model.mistakeCount());
}

ScriptModel &LiveDiagnostics::model()
{
    m_worker.waitForFinished();
    if (m_stale && m_isScript && !tooLarge()) {
        m_model.setFolder(m_folder);
        m_model.update(m_editor.utf8());
        keepCompletionWords();
    } else if (m_stale) {
        m_model.update({}); // nothing is known of a script too large to follow, or of a text
        keepCompletionWords();
    }
    m_stale = false;
    return m_model;
}

void LiveDiagnostics::keepCompletionWords()
{
    m_words.dialect = m_model.dialect();
    m_words.labels.clear();
    for (const LabelDefinitionAt &label : m_model.labels())
        m_words.labels.append(label.name);
    m_words.labels += m_model.includedLabels();
}

std::optional<QList<LabelDefinitionAt>> LiveDiagnostics::checkedLabels() const
{
    if (m_stale || m_worker.isRunning())
        return std::nullopt;
    return m_model.labels();
}

bool LiveDiagnostics::tooLarge() const
{
    return m_editor.length() > maxBytes;
}

int LiveDiagnostics::mistakeCount() const
{
    m_worker.waitForFinished();
    return checking() && !tooLarge() ? m_model.mistakeCount() : 0;
}

void LiveDiagnostics::refresh()
{
    m_rest.stop();
    if (!checking() || tooLarge()) {
        model();
        clear();
        Q_EMIT mistakesChanged(checking() ? notChecked : 0);
        return;
    }
    model();
    paint();
    Q_EMIT mistakesChanged(m_model.mistakeCount());
}

void LiveDiagnostics::clear()
{
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, mistakeIndicator);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(m_editor.length()));
    m_editor.markerDeleteAll(mistakeMarker);
    m_editor.setMarginWidth(mistakeMargin, 0);
    m_shownVerdicts.clear();
    describeCaretLine();
}

QString LiveDiagnostics::verdictsAtCaret() const
{
    int line = 0;
    int column = 0;
    m_editor.getCursorPosition(&line, &column);
    return m_shownVerdicts.value(line);
}

void LiveDiagnostics::describeCaretLine()
{
    const QString verdicts = verdictsAtCaret();
    const QString description
        = verdicts.isEmpty() ? QString() : QStringLiteral("Mistake: ") + verdicts;
    // Qt tells assistive technology of the change; an unchanged one is not said again.
    if (m_editor.accessibleDescription() != description)
        m_editor.setAccessibleDescription(description);
}

void LiveDiagnostics::paint()
{
    clear();
    const QList<Diagnostic> found = m_model.diagnostics();
    if (found.isEmpty())
        return;
    m_editor.setMarginWidth(mistakeMargin, 14);
    int markedLine = -1;
    for (const Diagnostic &d : found) {
        if (d.line >= m_editor.lines())
            break;
        const qsizetype start = bytePosition(m_editor, m_model, d.line, d.column);
        const qsizetype end = bytePosition(m_editor, m_model, d.line, d.column + d.length);
        m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                               static_cast<unsigned long>(start),
                               static_cast<long>(qMax<qsizetype>(1, end - start)));
        if (d.line != markedLine)
            m_editor.markerAdd(d.line, mistakeMarker);
        markedLine = d.line;
        QString &verdicts = m_shownVerdicts[d.line];
        if (!verdicts.contains(d.message()))
            verdicts
                += (verdicts.isEmpty() ? QString() : QStringLiteral(" ")) + d.message().toString();
    }
    describeCaretLine();
}

std::optional<QString> LiveDiagnostics::goToNextMistake()
{
    const ScriptModel &current = model();
    // The marks (and what a screen reader is told) agree with the model just brought up to date.
    paint();
    Q_EMIT mistakesChanged(current.mistakeCount());
    const QList<Diagnostic> found = current.diagnostics();
    if (found.isEmpty())
        return std::nullopt;
    int line = 0;
    int column = 0;
    m_editor.getCursorPosition(&line, &column);
    const long caret = m_editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    const Diagnostic *next = &found.first(); // round to the top
    for (const Diagnostic &d : found) {
        if (d.line > line
            || (d.line == line && bytePosition(m_editor, current, d.line, d.column) > caret)) {
            next = &d;
            break;
        }
    }
    select(next->line, next->column, next->length);
    const qsizetype start = bytePosition(m_editor, current, next->line, next->column);
    const auto x = int(m_editor.SendScintilla(
        QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(start)));
    const auto y = int(m_editor.SendScintilla(
        QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, static_cast<long>(start)));
    const int below = int(m_editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, next->line));
    QToolTip::showText(m_editor.viewport()->mapToGlobal(QPoint(x, y + below)),
                       next->message().toString(),
                       &m_editor);
    return next->message().toString();
}

void LiveDiagnostics::select(int line, qsizetype column, qsizetype length)
{
    m_worker.waitForFinished();
    const qsizetype start = bytePosition(m_editor, m_model, line, column);
    const qsizetype end = bytePosition(m_editor, m_model, line, column + length);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
    m_editor.ensureLineVisible(line);
}

void LiveDiagnostics::replace(const QList<Diagnostic> &ranges, const QString &text)
{
    m_worker.waitForFinished();
    QList<std::pair<qsizetype, qsizetype>> bytes;
    for (const Diagnostic &range : ranges)
        bytes.append({bytePosition(m_editor, m_model, range.line, range.column),
                      bytePosition(m_editor, m_model, range.line, range.column + range.length)});
    m_editor.replaceRanges(bytes, text);
    refresh();
}

std::pair<int, qsizetype> LiveDiagnostics::caret()
{
    return placeOf(m_editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

std::pair<int, qsizetype> LiveDiagnostics::placeOf(long position)
{
    const ScriptModel &current = model();
    const int line = int(m_editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                static_cast<unsigned long>(position)));
    if (position < 0 || line < 0 || line >= current.lineCount())
        return {-1, 0};
    const long bytes
        = position - m_editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const QByteArray utf8 = current.lineText(line).toUtf8();
    return {line, QString::fromUtf8(utf8.first(qMin<qsizetype>(bytes, utf8.size()))).size()};
}

QString LiveDiagnostics::labelAtCaret()
{
    const auto [line, column] = caret();
    return m_model.labelAt(line, column);
}

bool LiveDiagnostics::goToLabelAtCaret()
{
    const QString name = labelAtCaret();
    if (name.isEmpty())
        return false;
    const auto definition = m_model.definitionOf(name);
    if (!definition)
        return false;
    select(definition->line, definition->column, definition->name.size());
    return true;
}

// The verdicts of the line under the pointer, in the text or in the margin.
void LiveDiagnostics::showLinkAt(const QPoint &point)
{
    clearLink();
    const auto [line, column] = placeOf(m_editor.SendScintilla(
        QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE, point.x(), point.y()));
    const auto range = m_model.labelRangeAt(line, column);
    if (!range)
        return;
    const qsizetype start = bytePosition(m_editor, m_model, line, range->column);
    const qsizetype end = bytePosition(m_editor, m_model, line, range->column + range->length);
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, linkIndicator);
    m_editor.SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                           static_cast<unsigned long>(start),
                           static_cast<long>(end - start));
    m_viewport->setCursor(Qt::PointingHandCursor);
    m_linkShown = true;
}

void LiveDiagnostics::clearLink()
{
    if (!m_linkShown)
        return;
    m_editor.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, linkIndicator);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0UL, static_cast<long>(m_editor.length()));
    m_viewport->unsetCursor();
    m_linkShown = false;
}

bool LiveDiagnostics::eventFilter(QObject *watched, QEvent *event)
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
            QMetaObject::invokeMethod(this, &LiveDiagnostics::labelClicked, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::ToolTip || !checking())
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const long position = m_editor.SendScintilla(
        QsciScintillaBase::SCI_POSITIONFROMPOINT, help->pos().x(), help->pos().y());
    const int line = int(m_editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                static_cast<unsigned long>(position)));
    const ScriptModel &current = model();
    QStringList messages;
    if (line >= 0 && line < current.lineCount()) {
        for (const Diagnostic &d : current.diagnostics(line))
            messages.append(d.message().toString());
    }
    if (messages.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help->globalPos(), messages.join(u'\n'), &m_editor);
    return true;
}

} // namespace Korveth
