#pragma once

class QsciScintillaBase;

namespace Korveth {

// Character (code point) offsets, as assistive technology counts them, of a Scintilla control's
// byte positions, and back. Each looks its line up in the control's count of characters per line,
// built the first time one is asked for: the end of a long script answers as fast as its start.
// An offset before the start or past the end stands for the start or the end.
long characterOffset(const QsciScintillaBase &control, long position);
long positionOfCharacter(const QsciScintillaBase &control, long offset);

} // namespace Korveth
