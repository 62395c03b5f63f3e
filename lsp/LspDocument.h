#pragma once

#include "ScriptModel.h"

#include <QString>

#include <vector>

namespace Korveth {

// One open document of the language server: the script model over its lines, kept up to date
// edit by edit. Positions are lines and UTF-16 columns, as the protocol counts them. A text past
// the size limit is only kept, not checked, until it is small enough again.
class LspDocument
{
public:
    static constexpr qsizetype maxCharacters = 32 * 1024 * 1024;

    LspDocument(const QString &text,
                DialectChoice dialect,
                const IncludeSearch &search,
                ScriptLibrary *library = nullptr,
                qsizetype limit = maxCharacters);

    // Replaces the text between two positions; a position past the end of its line stands for
    // that end, a line past the last for the end of the text.
    void replace(int startLine,
                 qsizetype startColumn,
                 int endLine,
                 qsizetype endColumn,
                 const QString &text);
    void setText(const QString &text);
    // The model, or none while the text is too large to follow.
    ScriptModel *model() { return m_followed ? &m_model : nullptr; }
    // The whole text as UTF-8, for a script that includes this one.
    QByteArray utf8() const;
    qsizetype size() const { return m_size; }

private:
    void replaceInModel(int startLine,
                        qsizetype startColumn,
                        int endLine,
                        qsizetype endColumn,
                        const QString &text);
    void replaceInPlainText(int startLine,
                            qsizetype startColumn,
                            int endLine,
                            qsizetype endColumn,
                            const QString &text);
    qsizetype offsetOf(int line, qsizetype column) const;
    // The model's lines joined again with their own ends.
    QString modelText() const;
    // Starts or stops following the text, as its size asks.
    void followOrNot();

    qsizetype m_limit;
    DialectChoice m_dialect;
    IncludeSearch m_search;
    ScriptLibrary *m_library;
    ScriptModel m_model;
    // How each of the model's lines ends: '\n', '\r', 'w' for CR LF, 0 for the last line.
    std::vector<char> m_ends;
    QString m_plain;      // the text while it is not followed
    qsizetype m_size = 0; // UTF-16 units, a line end counted as one
    bool m_followed = false;
};

} // namespace Korveth
