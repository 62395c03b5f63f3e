#pragma once

#include "ScriptModel.h"

#include <QString>

namespace Korveth {

// One open document of the language server: its text as the client last sent it, and the script
// model over it. Positions are lines and UTF-16 columns, as the protocol counts them.
class LspDocument
{
public:
    LspDocument(const QString &text, DialectChoice dialect, const QString &folder);

    // Replaces the text between two positions; a position past the end stands for the end.
    void replace(int startLine,
                 qsizetype startColumn,
                 int endLine,
                 qsizetype endColumn,
                 const QString &text);
    void setText(const QString &text);
    // Brings the model up to date after the changes of one notification.
    ScriptModel &model();

private:
    qsizetype offsetOf(int line, qsizetype column) const;

    QString m_text;
    ScriptModel m_model;
    bool m_stale = true;
};

} // namespace Korveth
