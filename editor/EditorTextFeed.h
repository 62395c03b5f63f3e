#pragma once

#include "ChangedSpan.h"
#include "StandingText.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Korveth {

class LiveCheckSettings;
class ScriptEditor;
class ScriptModel;

// Tells a script model the editor's text, and lets the scripts that include it read that text in
// place of its file. A copy of a long script took as much memory again as the script: the model
// reads the editor's bytes where they lie, so the editor waits for the model's reader (its owner's
// to wait for) before it changes them, and only the bytes an edit replaced are kept.
class EditorTextFeed
{
public:
    EditorTextFeed(ScriptEditor &editor, ScriptModel &model, LiveCheckSettings &settings);
    ~EditorTextFeed();

    // The editor's thread, with the model's reader waited for: before the editor changes its
    // bytes, as told, or replaces them all (a file loaded).
    void bytesChanging(qsizetype length, qsizetype at, qsizetype removed, qsizetype inserted);
    void textReplacing();

    // What the model is told next: the editor's bytes where they lie, and the span changed since
    // it was last told (none: it takes them all anew). The editor's thread.
    struct Text
    {
        std::optional<ChangedSpan::Change> change;
        QByteArray bytes;
    };
    Text take();
    // The model takes it in, and the scripts that include the file at that path read it from
    // then on. Any thread, one at a time. False when the model could not place the change (it
    // held no text): the whole text is wanted next.
    bool give(const QString &path, Text text);
    // The editor's thread, after give: whether the whole text is wanted next (asked once).
    bool wholeWanted();
    // The model is told nothing of the text (a script too large to follow, or not a script), and
    // the file stands for itself.
    void giveNothing();
    // After give, on the editor's thread: the scripts that include this one are told that what
    // they read changed.
    void tellChanged();
    // Lets the scripts that include this one read its file again.
    void stopOffering();

private:
    void changing();

    ScriptEditor &m_editor;
    ScriptModel &m_model;
    LiveCheckSettings &m_settings;
    ChangedSpan m_changes;
    // The editor's bytes as the scripts that include this one read them, from any thread.
    StandingText m_offered;
    QString m_offeredPath; // empty while the library reads the file itself
    bool m_offeredChanged = false;
    bool m_wholeWanted = false;
};

} // namespace Korveth
