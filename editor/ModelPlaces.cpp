#include "ModelPlaces.h"

#include "ScriptEditor.h"
#include "ScriptModel.h"

namespace Korveth {

qsizetype
bytePosition(const ScriptEditor &editor, const ScriptModel &model, int line, qsizetype column)
{
    const long lineStart = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const LineText text = model.lineText(line);
    return lineStart + text.view().first(qMin(column, text.size())).toUtf8().size();
}

std::pair<int, qsizetype>
placeOf(const ScriptEditor &editor, const ScriptModel &model, long position)
{
    const int line = int(editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                              static_cast<unsigned long>(position)));
    if (position < 0 || line < 0 || line >= model.lineCount())
        return {-1, 0};
    const long bytes
        = position - editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const LineText text = model.lineText(line);
    const QByteArray utf8 = text.view().toUtf8();
    return {line, QString::fromUtf8(utf8.first(qMin<qsizetype>(bytes, utf8.size()))).size()};
}

} // namespace Korveth
