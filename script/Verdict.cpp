#include "Verdict.h"

#include <array>
#include <utility>

namespace Korveth {

namespace {

struct Description
{
    VerdictKind kind;
    LinePart part;
    QStringView text;
};

using K = VerdictKind;
using P = LinePart;

// Every verdict, in the enum's order; the mistakes start at CommandNotRecognised.
// clang-format off
constexpr Description descriptions[] = {
    {K::Label, P::FirstWord, u"Label recognised."},
    {K::Comment, P::FirstWord, u"Comment recognised."},
    {K::EmbeddedCode, P::FirstWord, u"Embedded code skipped."},
    {K::Command, P::FirstWord, u"Command recognised."},
    {K::CommandFromVariable, P::FirstWord, u"Command given by a variable."},
    {K::BlockStart, P::FirstWord, u"Block start recognised."},
    {K::BlockEnd, P::FirstWord, u"Block end recognised."},
    {K::Echo, P::FirstWord, u"Echo Command recognised."},
    {K::Exit, P::FirstWord, u"Exit Command recognised."},
    {K::If0, P::FirstWord, u"If_0 Command recognised."},
    {K::If1, P::FirstWord, u"If_1 Command recognised."},
    {K::If2, P::FirstWord, u"If_2 Command recognised."},
    {K::If3, P::FirstWord, u"If_3 Command recognised."},
    {K::If4, P::FirstWord, u"If_4 Command recognised."},
    {K::If5, P::FirstWord, u"If_5 Command recognised."},
    {K::If6, P::FirstWord, u"If_6 Command recognised."},
    {K::If7, P::FirstWord, u"If_7 Command recognised."},
    {K::If8, P::FirstWord, u"If_8 Command recognised."},
    {K::If9, P::FirstWord, u"If_9 Command recognised."},
    {K::Matchwait, P::FirstWord, u"Matchwait Command recognised."},
    {K::Move, P::FirstWord, u"Move Command recognised."},
    {K::Pause, P::FirstWord, u"Pause Command recognised."},
    {K::Put, P::FirstWord, u"Put Command recognised."},
    {K::SaveVariableDefined, P::FirstWord, u"Save Command recognised. Variable defined."},
    {K::Shift, P::FirstWord, u"Shift Command recognised."},
    {K::Wait, P::FirstWord, u"Wait Command recognised."},
    {K::WaitforTriggerPresent, P::FirstWord, u"Waitfor Command recognised. Trigger text present."},
    {K::CounterSetVariableDefined, P::FirstWord, u"Counter Set Command recognised. Variable defined."},
    {K::CounterSubtractVariableDefined, P::FirstWord, u"Counter Subtract Command recognised. Variable defined."},
    {K::CounterAddVariableDefined, P::FirstWord, u"Counter Add Command recognised. Variable defined."},
    {K::GotoLabelFound, P::FirstWord, u"Goto Command recognised. Label found."},
    {K::GotoVariableAsLabel, P::FirstWord, u"Goto Command recognised. Variable as label."},
    {K::MatchLabelFound, P::FirstWord, u"Match Command recognised. Label found."},
    {K::MatchVariableAsLabel, P::FirstWord, u"Match Command recognised. Variable as label."},
    {K::If, P::FirstWord, u"If Command recognised."},
    {K::Elseif, P::FirstWord, u"Elseif Command recognised."},
    {K::Else, P::FirstWord, u"Else Command recognised."},
    {K::Gosub, P::FirstWord, u"Gosub Command recognised."},
    {K::GosubLabelFound, P::FirstWord, u"Gosub Command recognised. Label found."},
    {K::GosubVariableAsLabel, P::FirstWord, u"Gosub Command recognised. Variable as label."},
    {K::MatchreLabelFound, P::FirstWord, u"Matchre Command recognised. Label found."},
    {K::MatchreVariableAsLabel, P::FirstWord, u"Matchre Command recognised. Variable as label."},
    {K::Action, P::FirstWord, u"Action Command recognised."},
    {K::Include, P::FirstWord, u"Include Command recognised."},
    {K::Variable, P::FirstWord, u"Variable Command recognised."},
    {K::Return, P::FirstWord, u"Return Command recognised."},
    {K::Waitforre, P::FirstWord, u"Waitforre Command recognised."},
    {K::Waiteval, P::FirstWord, u"Waiteval Command recognised."},
    {K::Send, P::FirstWord, u"Send Command recognised."},
    {K::Eval, P::FirstWord, u"Eval Command recognised."},
    {K::Evalmath, P::FirstWord, u"Evalmath Command recognised."},
    {K::Math, P::FirstWord, u"Math Command recognised."},
    {K::Timer, P::FirstWord, u"Timer Command recognised."},
    {K::Random, P::FirstWord, u"Random Command recognised."},
    {K::Delay, P::FirstWord, u"Delay Command recognised."},
    {K::Debug, P::FirstWord, u"Debug Command recognised."},
    {K::Js, P::FirstWord, u"Js Command recognised."},
    {K::Nextroom, P::FirstWord, u"Nextroom Command recognised."},
    {K::CommandNotRecognised, P::FirstWord, u"Command not recognised."},
    {K::IfUnderscoreWithoutNumber, P::FirstWord, u"If_ Command missing integer. Ex. If_1."},
    {K::IfWithoutNumber, P::FirstWord, u"If Command missing integer. Ex. If_1."},
    {K::SaveVariableMissing, P::FirstWord, u"Save Command recognised. Variable missing."},
    {K::WaitforTriggerMissing, P::FirstWord, u"Waitfor Command recognised. Trigger text missing."},
    {K::CounterSetVariableMissing, P::FirstWord, u"Counter Set Command recognised. Variable missing."},
    {K::CounterSubtractVariableMissing, P::FirstWord, u"Counter Subtract Command recognised. Variable missing."},
    {K::CounterAddVariableMissing, P::FirstWord, u"Counter Add Command recognised. Variable missing."},
    {K::CounterActionMissing, P::FirstWord, u"Counter Command recognised. Set/Add/Subtract missing."},
    {K::GotoLabelNotFound, P::LabelReference, u"Goto Command recognised. Label not found."},
    {K::MatchTriggerOrLabelMissing, P::FirstWord, u"Match Command recognised. Trigger Text or Label Name missing."},
    {K::MatchLabelNotFound, P::LabelReference, u"Match Command recognised. Label not found."},
    {K::IfThenMissing, P::FirstWord, u"If Command recognised. Then missing."},
    {K::ElseifThenMissing, P::FirstWord, u"Elseif Command recognised. Then missing."},
    {K::GosubLabelMissing, P::FirstWord, u"Gosub Command recognised. Label missing."},
    {K::GosubLabelNotFound, P::LabelReference, u"Gosub Command recognised. Label not found."},
    {K::MatchreTriggerOrLabelMissing, P::FirstWord, u"Matchre Command recognised. Trigger Text or Label Name missing."},
    {K::MatchreLabelNotFound, P::LabelReference, u"Matchre Command recognised. Label not found."},
    {K::IncludeNotFound, P::Argument, u"Include Command recognised. File not found."},
    {K::IncludeUnreadable, P::Argument, u"Include Command recognised. File cannot be read: not a regular file, or over 256 MB."},
    {K::BlockEndWithoutStart, P::FirstCharacter, u"Block end without a block start."},
    {K::BlockStartNeverClosed, P::LastCharacter, u"Block start never closed."},
    {K::ThenWithoutCommand, P::Then, u"Then has no command after it and no block below it."},
    {K::ElseAfterElse, P::AfterBrace, u"This If already had its Else."},
    {K::TooManyMatches, P::FirstWord, u"*** More than 32 Matches, Possible missing MatchWait/Too many matches issued. ***"},
};
// clang-format on

constexpr bool inEnumOrder()
{
    for (std::size_t i = 0; i < std::size(descriptions); ++i) {
        if (std::size_t(descriptions[i].kind) != i)
            return false;
    }
    return std::size(descriptions) == std::size_t(VerdictKind::TooManyMatches) + 1;
}
static_assert(inEnumOrder(), "every verdict kind is described once, in order");

// A name for each mistake that tools outside keep (code scanning rules): never renamed.
// clang-format off
constexpr std::pair<VerdictKind, QStringView> ruleNames[] = {
    {K::CommandNotRecognised, u"command-not-recognised"},
    {K::IfUnderscoreWithoutNumber, u"if-underscore-without-number"},
    {K::IfWithoutNumber, u"if-without-number"},
    {K::SaveVariableMissing, u"save-variable-missing"},
    {K::WaitforTriggerMissing, u"waitfor-trigger-missing"},
    {K::CounterSetVariableMissing, u"counter-set-variable-missing"},
    {K::CounterSubtractVariableMissing, u"counter-subtract-variable-missing"},
    {K::CounterAddVariableMissing, u"counter-add-variable-missing"},
    {K::CounterActionMissing, u"counter-action-missing"},
    {K::GotoLabelNotFound, u"goto-label-not-found"},
    {K::MatchTriggerOrLabelMissing, u"match-trigger-or-label-missing"},
    {K::MatchLabelNotFound, u"match-label-not-found"},
    {K::IfThenMissing, u"if-then-missing"},
    {K::ElseifThenMissing, u"elseif-then-missing"},
    {K::GosubLabelMissing, u"gosub-label-missing"},
    {K::GosubLabelNotFound, u"gosub-label-not-found"},
    {K::MatchreTriggerOrLabelMissing, u"matchre-trigger-or-label-missing"},
    {K::MatchreLabelNotFound, u"matchre-label-not-found"},
    {K::IncludeNotFound, u"include-not-found"},
    {K::IncludeUnreadable, u"include-unreadable"},
    {K::BlockEndWithoutStart, u"block-end-without-start"},
    {K::BlockStartNeverClosed, u"block-start-never-closed"},
    {K::ThenWithoutCommand, u"then-without-command"},
    {K::ElseAfterElse, u"else-after-else"},
    {K::TooManyMatches, u"too-many-matches"},
};
// clang-format on

constexpr bool rulesInOrder()
{
    for (std::size_t i = 0; i < std::size(ruleNames); ++i) {
        if (std::size_t(ruleNames[i].first) != std::size_t(K::CommandNotRecognised) + i)
            return false;
    }
    return std::size(ruleNames)
           == std::size_t(K::TooManyMatches) - std::size_t(K::CommandNotRecognised) + 1;
}
static_assert(rulesInOrder(), "every mistake has its rule name, in order");

const Description &describe(VerdictKind kind)
{
    return descriptions[static_cast<std::size_t>(kind)];
}

} // namespace

QStringView verdictText(VerdictKind kind)
{
    return describe(kind).text;
}

bool isMistake(VerdictKind kind)
{
    return kind >= VerdictKind::CommandNotRecognised;
}

QStringView mistakeRule(VerdictKind kind)
{
    if (!isMistake(kind))
        return {};
    return ruleNames[std::size_t(kind) - std::size_t(VerdictKind::CommandNotRecognised)].second;
}

LinePart linePartOf(VerdictKind kind)
{
    return describe(kind).part;
}

} // namespace Korveth
