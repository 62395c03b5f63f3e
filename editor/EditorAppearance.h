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

// The colours every editor has where none is chosen, and the background they stand on.
struct EditorColours
{
    QColor text;
    QColor keywords;
    QColor operators;
    QColor comments;
    QColor paper;
};
EditorColours defaultEditorColours();

// How far apart two colours are for reading, as the WCAG contrast ratio: 1 for the same colour,
// 21 for black on white.
double contrastRatio(const QColor &a, const QColor &b);
// Text with less contrast than this against its background is hard to read for anyone.
inline constexpr double minimumTextContrast = 3.0;

// Applies the look over the editor's language: the family and size of the font to every style
// (each keeps its own weight and slant), and the colours; what is not chosen gets the default.
void applyAppearance(const EditorAppearance &look, QsciScintilla &editor);

} // namespace Korveth
