#include "ScintillaCharacters.h"

#include <Qsci/qsciscintillabase.h>

#include <algorithm>

namespace Korveth {

namespace {

using Sci = QsciScintillaBase;

// Only assistive technology needs the count: built when it first asks.
void indexCharacters(const QsciScintillaBase &control)
{
    if (!(control.SendScintilla(Sci::SCI_GETLINECHARACTERINDEX) & Sci::SC_LINECHARACTERINDEX_UTF32))
        control.SendScintilla(Sci::SCI_ALLOCATELINECHARACTERINDEX,
                              Sci::SC_LINECHARACTERINDEX_UTF32);
}

} // namespace

long characterOffset(const QsciScintillaBase &control, long position)
{
    indexCharacters(control);
    position = std::clamp(position, 0L, control.SendScintilla(Sci::SCI_GETLENGTH));
    const long line = control.SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    return control.SendScintilla(
               Sci::SCI_INDEXPOSITIONFROMLINE, line, Sci::SC_LINECHARACTERINDEX_UTF32)
           + control.SendScintilla(Sci::SCI_COUNTCHARACTERS,
                                   control.SendScintilla(Sci::SCI_POSITIONFROMLINE, line),
                                   position);
}

long positionOfCharacter(const QsciScintillaBase &control, long offset)
{
    indexCharacters(control);
    const long line = control.SendScintilla(
        Sci::SCI_LINEFROMINDEXPOSITION, std::max(0L, offset), Sci::SC_LINECHARACTERINDEX_UTF32);
    const long lineStart = control.SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long within = offset
                        - control.SendScintilla(
                            Sci::SCI_INDEXPOSITIONFROMLINE, line, Sci::SC_LINECHARACTERINDEX_UTF32);
    if (within <= 0)
        return lineStart;
    const long position = control.SendScintilla(Sci::SCI_POSITIONRELATIVE, lineStart, within);
    return position > 0 ? position : control.SendScintilla(Sci::SCI_GETLENGTH); // past the end
}

} // namespace Korveth
