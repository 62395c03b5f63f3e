#pragma once

#include "ModernChecker.h"
#include "ScriptLibrary.h"

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringMatcher>

#include <memory>
#include <optional>
#include <vector>

namespace Korveth {

// A script made ready to run: its trimmed lines with included scripts put in place, where each
// label stands, and where each block closes.
class RunProgram
{
public:
    struct Line
    {
        QString text;           // trimmed
        QString file;           // the included script it comes from; empty for the script itself
        int line = 0;           // its line there, from 0
        int close = -1;         // a line that opens a block: the line that closes it
        bool hasValues = false; // holds a % or a $: values are put in before it runs
        bool definesLabel = false;
        // Worked out once for a goto, gosub, match or matchre line without values: the label,
        // its line (-1: none), what follows the label and that folded for matching, the
        // pattern when it is a valid one.
        QString label{};
        int target = -1;
        QString argument{};
        QString folded{};
        std::shared_ptr<const QStringMatcher> matcher{}; // looks for folded
        std::optional<QRegularExpression> pattern{};
    };

    RunProgram(QStringView scriptText,
               Dialect dialect,
               const IncludeSearch &search = {},
               ScriptLibrary *library = nullptr);

    const std::vector<Line> &lines() const { return m_lines; }
    // The program line of a label (letter case ignored); -1 when there is none.
    int labelLine(QStringView name) const;
    // Includes that could not be put in: the program line and the name written.
    const QList<std::pair<int, QString>> &missingIncludes() const { return m_missing; }

private:
    void add(QStringView text, const QString &file, int depth, QStringList &seen);
    void findBlocks();
    void prepareJumps();

    Dialect m_dialect;
    IncludeSearch m_search;
    ScriptLibrary *m_library;
    std::vector<Line> m_lines;
    QHash<QString, int> m_labels; // upper-cased name: its first line
    QList<std::pair<int, QString>> m_missing;
};

} // namespace Korveth
