#pragma once

#include <QString>

#include <array>

// The hunting script generator's work without its window: the inputs, the check of the required
// ones, and the substitutions that turn the template into a script.
namespace Korveth {

inline constexpr QStringView stancePrompt = u"Select Stance...";

struct HuntingInputs
{
    QString ScriptName;
    QString Stance = stancePrompt.toString();
    QString Critter1Name;
    QString Critter1Skin;
    QString Critter2Name;
    QString Critter2Skin;
    QString Critter3Name;
    QString Critter3Skin;
    std::array<QString, 6> StartOp;
    QString HuntingAnchor;
    QString RestPlace;
    std::array<QString, 40> MoveTo;   // from the rest room to the hunting anchor
    std::array<QString, 40> MoveFrom; // from the hunting anchor back to the rest room
};

// Checked in this order: anchor, rest place, stance (only against the prompt), first creature.
// Blanks count as input.
bool hasRequiredInputs(const HuntingInputs &inputs);

// The template with every placeholder filled, in the generator's fixed order of steps: exact,
// case-sensitive, non-overlapping; what a step inserts is seen only by later steps. Unused
// start-up pairs and path lines go with their CR LF.
QString generateHuntingScript(QString text, const HuntingInputs &inputs);

} // namespace Korveth
