#pragma once

#include <QStringView>

#include <cstdint>

namespace Korveth {

// What a verdict says of a line. Its text, whether it is a mistake, and the part of the line it is
// about all follow from the kind (see verdictText and friends), so callers never look at the text.
enum class VerdictKind : std::uint8_t {
    // Accepted lines
    Label,
    Comment,
    EmbeddedCode,
    Command, // a command nested too deep to judge
    CommandFromVariable,
    BlockStart,
    BlockEnd,
    Echo,
    Exit,
    If0, // If0 to If9 in a row: an "if_N" line
    If1,
    If2,
    If3,
    If4,
    If5,
    If6,
    If7,
    If8,
    If9,
    Matchwait,
    Move,
    Pause,
    Put,
    SaveVariableDefined,
    Shift,
    Wait,
    WaitforTriggerPresent,
    CounterSetVariableDefined,
    CounterSubtractVariableDefined,
    CounterAddVariableDefined,
    GotoLabelFound,
    GotoVariableAsLabel,
    MatchLabelFound,
    MatchVariableAsLabel,
    If,
    Elseif,
    Else,
    Gosub,
    GosubLabelFound,
    GosubVariableAsLabel,
    MatchreLabelFound,
    MatchreVariableAsLabel,
    Action,
    Include,
    Variable,
    Return,
    Waitforre,
    Waiteval,
    Send,
    Eval,
    Evalmath,
    Math,
    Timer,
    Random,
    Delay,
    Debug,
    Js,
    Nextroom,
    // Mistakes
    CommandNotRecognised,
    IfUnderscoreWithoutNumber,
    IfWithoutNumber,
    SaveVariableMissing,
    WaitforTriggerMissing,
    CounterSetVariableMissing,
    CounterSubtractVariableMissing,
    CounterAddVariableMissing,
    CounterActionMissing,
    GotoLabelNotFound,
    MatchTriggerOrLabelMissing,
    MatchLabelNotFound,
    IfThenMissing,
    ElseifThenMissing,
    GosubLabelMissing,
    GosubLabelNotFound,
    MatchreTriggerOrLabelMissing,
    MatchreLabelNotFound,
    IncludeNotFound,
    IncludeUnreadable,
    BlockEndWithoutStart,
    BlockStartNeverClosed,
    ThenWithoutCommand,
    ElseAfterElse,
    TooManyMatches,
};

// The part of its line a verdict is about, where a squiggle goes.
enum class LinePart : std::uint8_t {
    FirstWord,
    LabelReference, // the first label the line names, else the first word
    Argument,       // what follows the first word, else the first word
    Then,           // the then, else the first word
    AfterBrace,     // the first word after a leading "}", else the first word
    FirstCharacter,
    LastCharacter,
};

// The verdict's fixed text, as reports and messages show it.
QStringView verdictText(VerdictKind kind);
bool isMistake(VerdictKind kind);
// The lasting name of a mistake (e.g. "goto-label-not-found"); empty for an accepted line.
QStringView mistakeRule(VerdictKind kind);
// Every mistake kind, for tools that list their rules.
constexpr int firstMistake = int(VerdictKind::CommandNotRecognised);
constexpr int lastMistake = int(VerdictKind::TooManyMatches);
LinePart linePartOf(VerdictKind kind);

// The verdict of an "if_N" line; digit is 0 to 9.
constexpr VerdictKind ifDigitVerdict(int digit)
{
    return VerdictKind(int(VerdictKind::If0) + digit);
}

// One verdict on a line: accepted (blue) or a mistake (red).
struct Verdict
{
    VerdictKind kind = VerdictKind::CommandNotRecognised;

    QStringView message() const { return verdictText(kind); }
    bool error() const { return isMistake(kind); }
    LinePart part() const { return linePartOf(kind); }

    friend bool operator==(const Verdict &, const Verdict &) = default;
};

} // namespace Korveth
