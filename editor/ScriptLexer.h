#pragma once

#include "LanguageDefinition.h"

#include <Qsci/qscilexercustom.h>

namespace Korveth {

// Paints an editor by a registered language definition. Scintilla asks for the lines it is about
// to show, so only what is visible is styled and a huge file opens without a full pass.
class ScriptLexer final : public QsciLexerCustom
{
    Q_OBJECT

public:
    ScriptLexer(const QString &name,
                const LanguageDefinition &definition,
                QObject *parent = nullptr);

    const char *language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    QColor defaultPaper(int style) const override;
    void styleText(int start, int end) override;

private:
    QByteArray m_name;
    LanguageTokenizer m_tokenizer;
};

} // namespace Korveth
