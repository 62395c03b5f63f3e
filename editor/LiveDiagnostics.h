#pragma once

#include "Completion.h"
#include "EditorTextFeed.h"
#include "MistakeMarks.h"
#include "ScriptModel.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <memory>

namespace Korveth {

class LiveCheckSettings;
class ScriptEditor;

// Checks an editor's text on another thread shortly after typing stops, and has its mistakes
// painted (MistakeMarks) and shown under the pointer (EditorHover). The script model behind it is
// what label navigation and completion ask too; places in it are lines and UTF-16 columns.
class LiveDiagnostics : public QObject
{
    Q_OBJECT

public:
    // How long typing must rest before the text is checked again.
    static constexpr int restMs = 300;
    // Past this size a script is not followed as one types (the Script Debugger still checks
    // it): its lines would cost more memory and time than typing may wait for.
    static constexpr qsizetype maxBytes = 8 * 1024 * 1024;
    // The count told for a script too large to follow.
    static constexpr int notChecked = -1;

    // Its owner deletes it before the editor: it watches the editor's events, and a half
    // destroyed editor still sends some.
    LiveDiagnostics(ScriptEditor &editor, LiveCheckSettings &settings);
    ~LiveDiagnostics() override;

    // The file the editor shows: includes are looked for in its folder, and a file that is not a
    // script by its name (a readme, a log) is not checked. Empty for a script never saved.
    // Includes are read on the checking thread, never here.
    void setFile(const QString &path);
    // Whether this editor's text is checked as one types: the switch is on and it is a script.
    bool checking() const;

    // Where includes are looked for, and the library they are read through (for a whole run).
    IncludeSearch includeSearch();
    ScriptLibrary &library();
    // Brings the model up to date with the editor now, without waiting for the rest.
    void refresh();
    // The model, up to date with the editor (a check running in the background is waited for).
    // Empty for a file that is not a script.
    ScriptModel &model();
    int mistakeCount() const;
    // The labels as last checked, without checking now (which may read includes); empty while a
    // check is due or running. Their list is made for the first who asks, and kept from then on.
    std::optional<LabelList> checkedLabels();
    // Has the script's own labels made, and kept, for completion and the Labels page: a long
    // script's 80,000 labels are held only once a player uses them. Made now unless a check is
    // running (then by it).
    void wantLabels();
    bool tooLarge() const;

    // What completion offers: the dialect and the labels (the script's, then its includes') as
    // last checked. Asking never waits for a check, so a key costs the same in a long script.
    struct CompletionWords
    {
        Dialect dialect = Dialect::Classic;
        LabelList defined;       // the script's own labels, where they stand
        QStringList included;    // the labels its includes bring in
        std::uint64_t names = 0; // counts the changes of the names above
        // The labels offered, sorted when first asked for: a long script's 80,000 names are
        // sorted, and held, only once the player completes a label. The editor's thread only.
        const CompletionList &labels() const;
        mutable std::shared_ptr<const CompletionList> sorted;
    };
    const CompletionWords &completionWords() const { return m_words; }

    // Moves the caret to the next mistake after it, round to the top; its verdict, or nothing when
    // there is none.
    std::optional<QString> goToNextMistake();
    // The verdicts on the caret's line as shown.
    QString verdictsAtCaret() const { return m_marks.verdictsAtCaret(); }
    // Selects where the label named at the caret is defined; false when none is named there or
    // this script does not define it.
    bool goToLabelAtCaret();
    // The caret's line and its column in UTF-16 units.
    std::pair<int, qsizetype> caret();
    // The label named or defined at the caret; empty when there is none.
    QString labelAtCaret();
    // Selects a range of a line (columns in UTF-16 units) and shows it.
    void select(int line, qsizetype column, qsizetype length);
    // Puts the text in place of each range, as one undoable step.
    void replace(const QList<Diagnostic> &ranges, const QString &text);

Q_SIGNALS:
    // After every check of the text: the number of mistakes found, or notChecked.
    void mistakesChanged(int count);
    // A label reference was clicked with Ctrl held; the caret stands on it.
    void labelClicked();

private:
    void paint();
    void clear();
    // What the rest timer does: the check runs on another thread, so that neither a first check
    // of a long script nor a large paste holds up typing; marks are painted once it is done.
    void checkInBackground();
    void checked();
    // Read once per check, on the checking thread (or with it waited for). A long script's labels
    // take a walk over every line, so the last ones are kept while the model says its labels
    // stayed the same.
    CompletionWords wordsOf(ScriptModel &model, bool withLabels);
    bool m_labelsWanted = false; // the editor's thread; the checking thread is handed a copy
    // Brings the labels kept in m_lastWords up to the model's.
    void keepLabels(const ScriptModel &model);
    CompletionWords m_lastWords;
    std::optional<std::uint64_t> m_lastLabelsVersion;
    std::optional<std::uint64_t> m_lastNamesVersion;

    ScriptEditor &m_editor;
    LiveCheckSettings &m_settings;
    ScriptModel m_model;
    MistakeMarks m_marks;
    // The model takes the text in, knowing where includes are looked for; false when it could not
    // place the change (the whole text is wanted next). On the checking thread (or with it waited
    // for).
    bool takeText(const QString &path, const QString &root, EditorTextFeed::Text text);
    // The same on the editor's thread, with no check running.
    void takeTextNow();
    // Where a script's includes are looked for: from its folder up to the root set, or guessed.
    IncludeSearch searchFor(const QString &path, const QString &root);
    EditorTextFeed m_feed;
    QString m_path; // handed to the model before its next update
    bool m_isScript = true;
    QTimer m_rest;
    mutable QFutureWatcher<void> m_worker; // waited for before the model is read or changed
    bool m_stale = true;
    CompletionWords m_words;
    // Written by the checking thread; taken once it is done, before anything newer is known.
    std::optional<CompletionWords> m_checkedWords;
    void takeCheckedWords();
    // Keeps the labels sorted for completion while the names stay the same.
    void takeWords(CompletionWords words);
};

} // namespace Korveth
