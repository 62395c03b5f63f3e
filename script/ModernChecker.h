#pragma once

#include "Includes.h"
#include "LabelSet.h"
#include "ModernSurvey.h"
#include "ScriptChecker.h"

#include <QString>

#include <memory>

#include <vector>

namespace Korveth {

// The dialects a run can check: the original command set, or the one players write today
// (variables, gosub, if ... then, blocks, matchre, actions, includes).
enum class Dialect { Classic, Modern };

// What a run is asked to check in: a dialect, or the one the script looks like.
enum class DialectChoice { Classic, Modern, Auto };

// True when some line's first word is a command only the modern dialect knows.
bool looksModern(QByteArrayView scriptUtf8);

// The checker a run uses for the choice, over the script as UTF-8 (shared, not copied); includes
// are looked for in the folder (empty: nowhere). Tells which dialect it chose.
std::unique_ptr<LineChecker> makeChecker(const QByteArray &scriptUtf8,
                                         DialectChoice choice,
                                         const QString &folder,
                                         Dialect *chosen = nullptr);

// The modern checker, over a script text whose lines end with CR LF, LF or CR (the order in which
// judge() is asked). Labels are found only where they are defined (a line "NAME:"), in this
// script or in any script it includes; includes are looked for beside the including file (an
// empty folder: nowhere, for a script that has no file yet).
class ModernChecker final : public LineChecker
{
public:
    ModernChecker(QByteArrayView scriptUtf8, const QString &folder);
    ModernChecker(QStringView scriptText, const QString &folder);
    // A checker that knows no labels and no facts yet, for a caller that works them out itself
    // and judges lines with judgeWithFacts.
    ModernChecker() = default;

    LineVerdicts judge(QStringView line) override;
    LineVerdicts judgeWithFacts(QStringView line, const ModernLineFacts &facts);
    void setLabels(LabelSet labels);

private:
    Verdict judgeCommand(QStringView line, std::optional<Verdict> &second, int depth);
    Verdict judgeTarget(QStringView target,
                        VerdictKind found,
                        VerdictKind variable,
                        VerdictKind missing) const;
    Verdict judgeConditional(QStringView line, bool isIf, int depth);

    LabelSet m_labels;
    IncludeLabels m_includes;
    std::vector<ModernLineFacts> m_facts;
    qsizetype m_index = 0;
    ScriptChecker m_classic;
};

} // namespace Korveth
