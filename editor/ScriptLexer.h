#pragma once

#include "LanguageDefinition.h"

#include <Qsci/qscilexercustom.h>

#include <QTimer>

namespace Korveth {

// Paints an editor by a registered language definition. Scintilla asks for the lines it is about
// to show, so only what is visible is styled and a huge file opens without a full pass. A jump far
// down (Ctrl+End in a huge script) colours what is shown at once and the lines passed over while
// the editor is idle, a slice at a time, so no key waits for them.
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

    // Whether lines passed over by a jump are still waiting to be coloured.
    bool colouringLater() const { return m_later.isActive(); }

private:
    // Styles whole lines from start up to end, in chunks; returns where it stopped.
    long styleLines(long start, long end);
    void colourPassedOver();

    QByteArray m_name;
    LanguageTokenizer m_tokenizer;
    QTimer m_later;
    long m_passedFrom = -1; // the lines passed over: from here ...
    long m_passedTo = -1;   // ... to here (positions)
};

} // namespace Korveth
