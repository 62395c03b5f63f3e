#include "EditorAppearance.h"

#include "LanguageDefinition.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

namespace Korveth {

void applyAppearance(const EditorAppearance &look, QsciScintilla &editor)
{
    QsciLexer *styles = editor.lexer();
    if (!styles) {
        if (look.font)
            editor.setFont(*look.font);
        return;
    }
    if (look.font) {
        for (int style = 0; style <= int(TokenStyle::Comment); ++style) {
            QFont font = *look.font;
            font.setBold(styles->font(style).bold());
            font.setItalic(styles->font(style).italic());
            styles->setFont(font, style);
        }
    }
    if (look.text)
        styles->setColor(*look.text, int(TokenStyle::Default));
    if (look.keywords)
        styles->setColor(*look.keywords, int(TokenStyle::Keyword));
    if (look.operators)
        styles->setColor(*look.operators, int(TokenStyle::Operator));
}

} // namespace Korveth
