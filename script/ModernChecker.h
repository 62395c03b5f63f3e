#pragma once

#include "LabelSet.h"
#include "ModernSurvey.h"
#include "ScriptChecker.h"
#include "ScriptLibrary.h"

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
// The dialect a choice comes to for a script: Auto is modern when the script looks modern.
Dialect dialectFor(DialectChoice choice, QByteArrayView scriptUtf8);

// Whether a long script's survey may take a second thread (the library is used from the caller's
// alone).
enum class Threads { One, Two };

// The checker a run uses for the choice, over the script as UTF-8 (shared, not copied); includes
// are looked for as the search says, through the library (none: one of its own). Tells which
// dialect it chose.
std::unique_ptr<LineChecker> makeChecker(const QByteArray &scriptUtf8,
                                         DialectChoice choice,
                                         const IncludeSearch &search,
                                         Dialect *chosen = nullptr,
                                         ScriptLibrary *library = nullptr,
                                         Threads threads = Threads::One);

// The modern checker, over a script text whose lines end with CR LF, LF or CR (the order in which
// judge() is asked). Labels are found only where they are defined (a line "NAME:"), in this
// script or in any script it includes or requires ("#REQUIRE name"); includes are looked for as
// the search says.
class ModernChecker final : public LineChecker
{
public:
    ModernChecker(QByteArrayView scriptUtf8,
                  const IncludeSearch &search,
                  ScriptLibrary *library = nullptr,
                  Threads threads = Threads::One);
    ModernChecker(QStringView scriptText,
                  const IncludeSearch &search,
                  ScriptLibrary *library = nullptr);
    // A checker that knows no labels and no facts yet, for a caller that works them out itself
    // and judges lines with judgeWithFacts.
    ModernChecker() = default;

    LineVerdicts judge(QStringView line) override;
    std::unique_ptr<LineChecker> copy() const override;
    void goToLine(qsizetype line) override { m_index = line; }
    LineVerdicts judgeWithFacts(QStringView line, const ModernLineFacts &facts);
    void setLabels(LabelSet labels);
    // Or where labels are looked for instead: a caller that counts its labels anyway (a script's
    // model) answers, and keeps no set beside its counts. Asked with the name upper-cased.
    class KnownLabels
    {
    public:
        virtual bool knowsLabel(const QString &upper) const = 0;

    protected:
        ~KnownLabels() = default;
    };
    void setLabels(const KnownLabels *known) { m_known = known; }

private:
    Verdict judgeCommand(QStringView line, std::optional<Verdict> &second, int depth);
    Verdict judgeTarget(QStringView target,
                        VerdictKind found,
                        VerdictKind variable,
                        VerdictKind missing) const;
    Verdict judgeConditional(QStringView line, bool isIf, int depth);
    void prefetchLabel(QByteArrayView name) const override
    {
        if (!m_known)
            m_labels.prefetch(name);
    }

    LabelSet m_labels;
    const KnownLabels *m_known = nullptr;

    std::vector<ModernLineFacts> m_facts;
    qsizetype m_index = 0;
    ScriptChecker m_classic;
};

} // namespace Korveth
