#pragma once

#include <QObject>

namespace Korveth {

class LiveDiagnostics;
class ScriptEditor;

// Offers QScintilla's completion list while a line's first word is typed (the dialect's
// commands) and after goto, gosub, match and matchre (the labels of the script and its includes).
class ScriptCompletion : public QObject
{
    Q_OBJECT

public:
    ScriptCompletion(ScriptEditor &editor, LiveDiagnostics &live);

    // Shows the list for the caret's place; false when nothing may be typed there.
    bool showAtCaret();

private:
    // The control fits its list to the screen under the word's start and fails when no screen is
    // there (a window moved partly off the screens): no list is offered then.
    bool onAScreen(long position) const;

    ScriptEditor &m_editor;
    LiveDiagnostics &m_live;
};

} // namespace Korveth
