#include "LiveDiagnostics.h"

#include "Completion.h"
#include "EditorHover.h"
#include "LiveCheckSettings.h"
#include "ModelPlaces.h"
#include "ScriptEditor.h"
#include "ScriptFiles.h"

#include <QFileInfo>
#include <QToolTip>
#include <QtConcurrent/QtConcurrentRun>

namespace Korveth {

LiveDiagnostics::LiveDiagnostics(ScriptEditor &editor, LiveCheckSettings &settings)
    : QObject(&editor)
    , m_editor(editor)
    , m_settings(settings)
    , m_model(settings.dialect(), {}, &settings.library())
    , m_marks(editor)
    , m_feed(editor, m_model, settings)
{
    m_rest.setSingleShot(true);
    m_rest.setInterval(restMs);
    connect(&m_rest, &QTimer::timeout, this, &LiveDiagnostics::checkInBackground);
    connect(&m_worker, &QFutureWatcher<void>::finished, this, &LiveDiagnostics::checked);
    // A loaded file sends no edit, only its new line count. With mistakes not shown the model
    // still follows the text, on the checking thread: the Labels page and completion read it.
    auto textChanged = [this] {
        m_stale = true;
        if (m_isScript)
            m_rest.start();
    };
    connect(&editor, &ScriptEditor::editing, this, textChanged);
    connect(&editor,
            &ScriptEditor::bytesChanging,
            this,
            [this](qsizetype length, qsizetype at, qsizetype removed, qsizetype inserted) {
                // The model, its check and the scripts including this one read these bytes.
                m_worker.waitForFinished();
                m_feed.bytesChanging(length, at, removed, inserted);
            });
    connect(&editor, &ScriptEditor::textReplacing, this, [this] {
        m_worker.waitForFinished();
        m_feed.textReplacing();
    });
    connect(&editor, &QsciScintilla::linesChanged, this, textChanged);
    connect(&settings, &LiveCheckSettings::changed, this, [this] {
        m_worker.waitForFinished();
        m_model.setDialectChoice(m_settings.dialect());
        m_stale = true;
        refresh();
    });
    // Another script changed: what this one includes is looked at again.
    connect(&settings, &LiveCheckSettings::scriptChanged, this, [this](const QString &path) {
        if (path == m_path || !m_isScript)
            return;
        m_stale = true;
        m_rest.start();
    });

    auto *hover = new EditorHover(
        editor,
        [this]() -> const ScriptModel & { return model(); },
        [this] { return checking(); },
        this);
    connect(hover, &EditorHover::labelClicked, this, &LiveDiagnostics::labelClicked);
    connect(&editor, &ScriptEditor::caretOrSelectionChanged, this, [this] {
        m_marks.describeCaretLine();
    });
    m_rest.start();
}

void LiveDiagnostics::setFile(const QString &file)
{
    const QString path = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    const bool isScript = path.isEmpty() || isScriptFileName(QFileInfo(path).fileName());
    if (path == m_path && isScript == m_isScript)
        return;
    m_worker.waitForFinished();
    m_feed.stopOffering(); // the file it was stands for itself again
    m_path = path;
    m_isScript = isScript;
    // Includes found or lost there change verdicts; the next check reads them, on its thread.
    m_stale = true;
    if (m_isScript)
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

ScriptLibrary &LiveDiagnostics::library()
{
    return m_settings.library();
}

IncludeSearch LiveDiagnostics::includeSearch()
{
    return searchFor(m_path, m_settings.scriptsFolder());
}

IncludeSearch LiveDiagnostics::searchFor(const QString &path, const QString &root)
{
    if (path.isEmpty())
        return {};
    const QString folder = QFileInfo(path).path();
    return {folder, root.isEmpty() ? library().libraryRootOf(folder) : root};
}

bool LiveDiagnostics::takeText(const QString &path, const QString &root, EditorTextFeed::Text text)
{
    m_model.setIncludeSearch(searchFor(path, root));
    return m_feed.give(path, std::move(text));
}

void LiveDiagnostics::checkInBackground()
{
    if (!m_isScript || tooLarge()) {
        refresh();
        return;
    }
    if (m_worker.isRunning()) {
        m_rest.start(); // once this one is done
        return;
    }
    // The thread gets its own copy of what changed; the editor goes on changing its text.
    m_stale = false;
    m_worker.setFuture(QtConcurrent::run([this,
                                          text = m_feed.take(),
                                          path = m_path,
                                          root = m_settings.scriptsFolder(),
                                          withLabels = m_labelsWanted]() mutable {
        if (!takeText(path, root, std::move(text)))
            return;
        m_model.refreshIncludes();
        m_checkedWords = wordsOf(m_model, withLabels);
    }));
}

void LiveDiagnostics::takeCheckedWords()
{
    if (m_checkedWords)
        takeWords(std::move(*std::exchange(m_checkedWords, std::nullopt)));
    // Asked for while a check ran without them, or first asked for now; never from lines that
    // can no longer be read (typed on since), which the next check makes them from.
    if (m_labelsWanted && m_model.textReadable()
        && (m_model.labelNamesVersion() != m_lastNamesVersion
            || m_model.labelsVersion() != m_lastLabelsVersion)) {
        keepLabels(m_model);
        takeWords(CompletionWords(m_lastWords));
    }
}

void LiveDiagnostics::checked()
{
    takeCheckedWords();
    m_feed.tellChanged();
    if (m_feed.wholeWanted()) {
        m_stale = true;
        m_rest.start();
    }
    // Marks painted from an older text would stand in the wrong places: typing went on, so the
    // next rest checks again, and paints.
    if (m_stale)
        return;
    if (!checking()) {
        clear();
        Q_EMIT mistakesChanged(0);
        return;
    }
    paint();
    Q_EMIT mistakesChanged(m_model.mistakeCount());
}

ScriptModel &LiveDiagnostics::model()
{
    m_worker.waitForFinished();
    takeCheckedWords();
    if (m_feed.wholeWanted())
        m_stale = true; // the last check could not place its change: the whole text now
    if (m_stale && m_isScript && !tooLarge()) {
        takeTextNow();
        m_model.refreshIncludes();
        takeWords(wordsOf(m_model, m_labelsWanted));
        m_feed.tellChanged();
    } else if (m_stale) {
        m_feed.giveNothing(); // of a script too large to follow, or of a text
        takeWords(wordsOf(m_model, m_labelsWanted));
    }
    m_stale = false;
    return m_model;
}

LiveDiagnostics::CompletionWords LiveDiagnostics::wordsOf(ScriptModel &model, bool withLabels)
{
    QStringList included = model.includedLabels();
    if (included != m_lastWords.included) {
        m_lastWords.included = std::move(included);
        ++m_lastWords.names;
    }
    if (withLabels)
        keepLabels(model);
    m_lastWords.dialect = model.dialect();
    return m_lastWords;
}

void LiveDiagnostics::keepLabels(const ScriptModel &model)
{
    if (model.labelNamesVersion() != m_lastNamesVersion) {
        m_lastWords.defined = model.labels();
        m_lastNamesVersion = model.labelNamesVersion();
        ++m_lastWords.names;
    } else if (model.labelsVersion() != m_lastLabelsVersion) {
        model.placeLabels(m_lastWords.defined); // the names stay shared with the list shown
    }
    m_lastLabelsVersion = model.labelsVersion();
}

void LiveDiagnostics::takeTextNow()
{
    takeText(m_path, m_settings.scriptsFolder(), m_feed.take());
    if (m_feed.wholeWanted())
        takeText(m_path, m_settings.scriptsFolder(), m_feed.take());
}

void LiveDiagnostics::wantLabels()
{
    // While a check runs, it is taken once done.
    if (std::exchange(m_labelsWanted, true) || m_worker.isRunning())
        return;
    // Typed on since the last check: the model reads the text as it is now, includes aside
    // (read on the checking thread, at the check still due).
    if (!m_model.textReadable() && m_isScript && !tooLarge())
        takeTextNow();
    takeCheckedWords();
}

void LiveDiagnostics::takeWords(CompletionWords words)
{
    // Lines typed above labels move them, but the sorted names stay: sorting 80,000 of them took
    // most of the check after each Enter.
    if (words.names == m_words.names && !words.sorted)
        words.sorted = m_words.sorted;
    m_words = std::move(words);
}

const CompletionList &LiveDiagnostics::CompletionWords::labels() const
{
    if (!sorted)
        sorted = std::make_shared<const CompletionList>(labelCompletions(defined, included));
    return *sorted;
}

std::optional<LabelList> LiveDiagnostics::checkedLabels()
{
    wantLabels();
    if (m_stale || m_worker.isRunning())
        return std::nullopt;
    return m_words.defined;
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
    if (!checking() && m_isScript && !tooLarge() && m_stale) {
        // Brought up to date on the checking thread, which then says so: a long script's model
        // made here held the window up (0.13 s on opening 5 MB with mistakes not shown).
        clear();
        m_rest.start();
        return;
    }
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
    m_marks.clear();
}

void LiveDiagnostics::paint()
{
    m_marks.paint(m_model);
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
    const ScriptModel &current = model();
    if (line < 0 || line >= current.lineCount())
        return;
    const qsizetype start = bytePosition(m_editor, current, line, column);
    const qsizetype end = bytePosition(m_editor, current, line, column + length);
    m_editor.SendScintilla(
        QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
    m_editor.ensureLineVisible(line);
}

void LiveDiagnostics::replace(const QList<Diagnostic> &ranges, const QString &text)
{
    // Columns are mapped through the lines as they stand now.
    const ScriptModel &current = model();
    QList<std::pair<qsizetype, qsizetype>> bytes;
    for (const Diagnostic &range : ranges) {
        if (range.line >= current.lineCount())
            continue;
        bytes.append({bytePosition(m_editor, current, range.line, range.column),
                      bytePosition(m_editor, current, range.line, range.column + range.length)});
    }
    m_editor.replaceRanges(bytes, text);
    refresh();
}

std::pair<int, qsizetype> LiveDiagnostics::caret()
{
    return placeOf(m_editor, model(), m_editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
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

} // namespace Korveth
