#pragma once

#include "GameLine.h"
#include "ModernChecker.h"
#include "RunPattern.h"
#include "ScriptLibrary.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Korveth {

// A script made ready to run: its trimmed lines with included scripts put in place, what each
// line does, where each label stands, and where each block closes. The texts are held once; a
// line is a view into them, so a script of a million lines costs no allocation a line.
class RunProgram
{
public:
    // What a line does, known from its first word.
    enum class Command : quint8 {
        Nothing,  // blank, a comment, a "{" alone
        Label,    // defines a label
        BlockEnd, // starts with "}"
        Dynamic,  // the first word holds a value: known once the value is put in
        Unknown,  // a word the dry run does not know
        Put,
        Send,
        Echo,
        Exit,
        Goto,
        IfArgument, // if_1 ... if_9, if_0
        Counter,
        Save,
        Shift,
        Match,
        Matchre,
        Matchwait,
        Waitfor,
        Waitforre,
        Waiteval,
        Move,
        Nextroom,
        Wait,
        Pause,
        Delay,
        If,
        Elseif,
        Else,
        Gosub,
        Return,
        Var,
        Unvar,
        Math,
        Eval,
        Evalmath,
        Random,
        Timer,
        Action,
        Ignored, // include, debug, debuglevel: nothing to do in a dry run
        Js,
    };
    static Command commandOf(QStringView word);
    static bool isClassic(Command command);
    static bool waits(Command command);

    // A label to go to, now or when a match's text comes: worked out once for a goto, gosub,
    // match or matchre line without values.
    // Its texts are views into the program's texts, or into whatever made it.
    struct Jump
    {
        QStringView label;
        int target = -1;    // the label's line; -1: none
        QStringView text{}; // what a match looks for, as written
        FoldedText folded{};
        std::optional<RunPattern> pattern{}; // a matchre's, when valid
    };

    struct Line
    {
        const QChar *start = nullptr;
        int length = 0;
        int file = 0;   // 0: the script itself; else an index into the included scripts' names
        int line = 0;   // its line there, from 0
        int close = -1; // a line that opens a block: the line that closes it
        int jump = -1;  // its Jump, when it has one
        Command command = Command::Nothing;
        bool hasValues = false; // holds a % or a $: values are put in before it runs

        QStringView text() const { return {start, length}; } // trimmed
        bool inScript() const { return file == 0; }
    };

    RunProgram(QString scriptText,
               Dialect dialect,
               const IncludeSearch &search = {},
               ScriptLibrary *library = nullptr);

    const std::vector<Line> &lines() const { return m_lines; }
    // The name of the included script a line comes from; empty for the script itself.
    const QString &fileOf(const Line &line) const { return m_files[line.file]; }
    // Where each script of the run was read from, by its index (0: the script itself, whose path
    // the program is not told: empty); and how many lines it has.
    qsizetype fileCount() const { return m_files.size(); }
    const QString &pathOf(int file) const { return m_paths[file]; }
    int lineCountOf(int file) const { return m_lineCounts[file]; }
    const Jump *jumpOf(const Line &line) const
    {
        return line.jump < 0 ? nullptr : &m_jumps[std::size_t(line.jump)];
    }
    // The program line of a label (letter case ignored); -1 when there is none.
    int labelLine(QStringView name) const;
    // Includes that could not be put in: the program line and why.
    const QList<std::pair<int, QString>> &missingIncludes() const { return m_missing; }

private:
    void add(const QString &text, int file, int depth, QStringList &seen);
    void findBlocks();
    void prepareJumps();

    Dialect m_dialect;
    IncludeSearch m_search;
    ScriptLibrary *m_library;
    QList<QString> m_texts; // the script's and each included script's; never changed
    QStringList m_files{QString()};
    QStringList m_paths{QString()};
    QList<int> m_lineCounts{0};
    std::vector<Line> m_lines;
    std::vector<Jump> m_jumps;
    QHash<QString, int> m_labels; // upper-cased name: its first line
    QList<std::pair<int, QString>> m_missing;
    struct Required
    {
        int at = 0;    // the #REQUIRE line
        int file = 0;  // the script it is in
        int depth = 0; // how deep that script is included
        QString name;
    };
    QList<Required> m_required;
    void putIn(QStringView name, int at, int file, int depth, QStringList &seen);
};

} // namespace Korveth
