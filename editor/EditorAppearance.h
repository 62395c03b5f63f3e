#pragma once

#include <QColor>
#include <QFont>

#include <optional>

class QsciScintilla;

namespace Korveth {

// How the user wants every editor to look, chosen in the options window: the font and the
// colours of plain text, keywords and operators. What is not chosen keeps the editor's own.
struct EditorAppearance
{
    std::optional<QFont> font;
    std::optional<QColor> text;
    std::optional<QColor> keywords;
    std::optional<QColor> operators;
};

// Applies the look over the editor's language: the family and size of the font to every style
// (each keeps its own weight and slant), and the colours that were chosen.
void applyAppearance(const EditorAppearance &look, QsciScintilla &editor);

} // namespace Korveth
