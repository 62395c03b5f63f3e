#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

// The hunting script generator's work without its window: the inputs, the check of the required
// ones, and the substitutions that turn the template into a script.
namespace Korveth {

inline constexpr QStringView stancePrompt = u"Select Stance...";

struct HuntingInputs
{
    QString scriptName;
    QString stance = stancePrompt.toString();
    QString critter1Name;
    QString critter1Skin;
    QString critter2Name;
    QString critter2Skin;
    QString critter3Name;
    QString critter3Skin;
    std::array<QString, 6> startCommands;
    QString huntingAnchor;
    QString restPlace;
    std::array<QString, 40> pathTo;   // from the rest room to the hunting anchor
    std::array<QString, 40> pathBack; // from the hunting anchor back to the rest room

    // Every field, for what treats them all alike.
    QList<QString *> fields();
};

// The inputs the script cannot do without, in the order they are checked.
enum class RequiredInput { HuntingAnchor, RestPlace, Stance, Critter1Name };

// The first required input missing: anchor, rest place, stance (only against the prompt), first
// creature. Blanks count as input; line breaks and other control characters do not.
std::optional<RequiredInput> firstMissingInput(const HuntingInputs &inputs);
inline bool hasRequiredInputs(const HuntingInputs &inputs)
{
    return !firstMissingInput(inputs);
}

// A field's text as one line of a script: each run of line breaks, tabs and other control
// characters (a paste can bring them into a one-line box) becomes one blank.
QString asOneLine(const QString &text);

// The template with every placeholder filled, in the generator's fixed order of steps: exact,
// case-sensitive, non-overlapping; what a step inserts is seen only by later steps. Every input
// is taken as one line. Unused start-up pairs and path lines go with their CR LF, and so does each
// line naming the skin of a creature that gives none.
QString generateHuntingScript(QString text, const HuntingInputs &inputs);

} // namespace Korveth
