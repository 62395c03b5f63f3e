#include "HuntingGenerator.h"

namespace Korveth {

namespace {

// One path: "move [tohuntN]" becomes "move " and the step, or goes with its CR LF when unused.
void fillPath(QString &text, const QString &placeholderStem, const std::array<QString, 40> &steps)
{
    for (int n = 1; n <= 40; ++n) {
        const QString placeholder = QStringLiteral("move [%1%2]").arg(placeholderStem).arg(n);
        const QString &step = steps[std::size_t(n - 1)];
        if (step.isEmpty())
            text.remove(placeholder + QStringLiteral("\r\n"));
        else
            text.replace(placeholder, QStringLiteral("move ") + step);
    }
}

} // namespace

bool hasRequiredInputs(const HuntingInputs &inputs)
{
    return !inputs.HuntingAnchor.isEmpty() && !inputs.RestPlace.isEmpty()
           && inputs.Stance != stancePrompt && !inputs.Critter1Name.isEmpty();
}

QString generateHuntingScript(QString text, const HuntingInputs &in)
{
    text.replace(QStringLiteral("[ScriptName]"), in.ScriptName);
    text.replace(QStringLiteral("[restplace]"), in.RestPlace);
    text.replace(QStringLiteral("[stance]"), in.Stance);
    text.replace(QStringLiteral("[anchor]"), in.HuntingAnchor);
    for (int n = 1; n <= 6; ++n) {
        const QString placeholder = QStringLiteral("[option%1]").arg(n);
        const QString &command = in.StartOp[std::size_t(n - 1)];
        if (command.isEmpty())
            text.remove(QStringLiteral("put ") + placeholder + QStringLiteral("\r\npause 0.5\r\n"));
        else
            text.replace(placeholder, command);
    }
    text.replace(QStringLiteral("[skin1]"), in.Critter1Skin);
    text.replace(QStringLiteral("[skin2]"), in.Critter2Skin);
    text.replace(QStringLiteral("[skin3]"), in.Critter3Skin);
    text.replace(QStringLiteral("[crittername1]"), in.Critter1Name);
    text.replace(QStringLiteral("[crittername2]"),
                 in.Critter2Name.isEmpty() ? in.Critter1Name : in.Critter2Name);
    text.replace(QStringLiteral("[crittername3]"),
                 in.Critter3Name.isEmpty() ? in.Critter1Name : in.Critter3Name);
    fillPath(text, QStringLiteral("fromhunt"), in.MoveFrom);
    fillPath(text, QStringLiteral("tohunt"), in.MoveTo);
    return text;
}

} // namespace Korveth
