#include "EditorSearch.h"

#include "ScriptEditor.h"

namespace Korveth::EditorSearch {

namespace {

using Sci = QsciScintillaBase;

void setFlags(ScriptEditor &editor, const SearchSettings &search)
{
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS,
                         (search.matchCase ? Sci::SCFIND_MATCHCASE : 0)
                             | (search.wholeWord ? Sci::SCFIND_WHOLEWORD : 0));
}

// The position of the first match in [from, to) (backwards when from > to), or -1.
long searchRange(ScriptEditor &editor, const QByteArray &needle, long from, long to)
{
    editor.SendScintilla(Sci::SCI_SETTARGETSTART, from);
    editor.SendScintilla(Sci::SCI_SETTARGETEND, to);
    return editor.SendScintilla(Sci::SCI_SEARCHINTARGET, needle.size(), needle.constData());
}

} // namespace

bool findText(ScriptEditor &editor, const SearchSettings &search, bool forward)
{
    if (search.text.isEmpty())
        return false;
    const QByteArray needle = search.text.toUtf8();
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    const long selStart = editor.SendScintilla(Sci::SCI_GETSELECTIONSTART);
    const long selEnd = editor.SendScintilla(Sci::SCI_GETSELECTIONEND);
    setFlags(editor, search);

    // Backwards, Scintilla searches when the target start lies after its end.
    long found = forward ? searchRange(editor, needle, selEnd, length)
                         : searchRange(editor, needle, selStart, 0);
    if (found < 0)
        found = forward ? searchRange(editor, needle, 0, selEnd)
                        : searchRange(editor, needle, length, selStart);
    if (found < 0)
        return false;
    editor.SendScintilla(Sci::SCI_SETSEL,
                         editor.SendScintilla(Sci::SCI_GETTARGETSTART),
                         editor.SendScintilla(Sci::SCI_GETTARGETEND));
    editor.SendScintilla(Sci::SCI_SCROLLCARET);
    return true;
}

bool replaceSelection(ScriptEditor &editor, const SearchSettings &search)
{
    const QString selected = editor.selectedText();
    const auto sensitivity = search.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!selected.isEmpty() && selected.compare(search.text, sensitivity) == 0)
        editor.replaceSelectedText(search.replacement);
    return findText(editor, search, true);
}

int replaceAll(ScriptEditor &editor, const SearchSettings &search)
{
    if (search.text.isEmpty())
        return 0;
    const QByteArray needle = search.text.toUtf8();
    const QByteArray replacement = search.replacement.toUtf8();
    setFlags(editor, search);
    int count = 0;
    long from = 0;
    editor.beginUndoAction();
    while (searchRange(editor, needle, from, editor.SendScintilla(Sci::SCI_GETLENGTH)) >= 0) {
        editor.SendScintilla(Sci::SCI_REPLACETARGET, replacement.size(), replacement.constData());
        from = editor.SendScintilla(Sci::SCI_GETTARGETEND);
        ++count;
    }
    editor.endUndoAction();
    return count;
}

} // namespace Korveth::EditorSearch
