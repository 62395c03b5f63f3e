#include "HuntingGenerator.h"

#include <algorithm>

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

// Every line that holds the placeholder goes, with its line end.
void removeLinesHolding(QString &text, const QString &placeholder)
{
    for (qsizetype at = text.indexOf(placeholder); at >= 0; at = text.indexOf(placeholder, at)) {
        const qsizetype previousEnd = text.lastIndexOf(QStringLiteral("\r\n"), at);
        const qsizetype start = previousEnd < 0 ? 0 : previousEnd + 2;
        const qsizetype end = text.indexOf(QStringLiteral("\r\n"), at);
        text.remove(start, end < 0 ? text.size() - start : end + 2 - start);
        at = start;
    }
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control
           || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
}

HuntingInputs oneLineInputs(HuntingInputs in)
{
    for (QString *field : in.fields())
        *field = asOneLine(*field);
    return in;
}

} // namespace

QList<QString *> HuntingInputs::fields()
{
    QList<QString *> all{&scriptName,
                         &stance,
                         &critter1Name,
                         &critter1Skin,
                         &critter2Name,
                         &critter2Skin,
                         &critter3Name,
                         &critter3Skin,
                         &huntingAnchor,
                         &restPlace};
    for (QString &field : startCommands)
        all << &field;
    for (QString &field : pathTo)
        all << &field;
    for (QString &field : pathBack)
        all << &field;
    return all;
}

QString asOneLine(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), isControl))
        return text;
    QString line;
    line.reserve(text.size());
    bool inRun = false;
    for (const QChar c : text) {
        if (isControl(c)) {
            inRun = true;
            continue;
        }
        // A run at either end leaves nothing: "rat\n" is "rat".
        if (inRun && !line.isEmpty())
            line += u' ';
        inRun = false;
        line += c;
    }
    return line;
}

std::optional<RequiredInput> firstMissingInput(const HuntingInputs &raw)
{
    const HuntingInputs inputs = oneLineInputs(raw);
    if (inputs.huntingAnchor.isEmpty())
        return RequiredInput::HuntingAnchor;
    if (inputs.restPlace.isEmpty())
        return RequiredInput::RestPlace;
    if (inputs.stance == stancePrompt)
        return RequiredInput::Stance;
    if (inputs.critter1Name.isEmpty())
        return RequiredInput::Critter1Name;
    return std::nullopt;
}

QString generateHuntingScript(QString text, const HuntingInputs &raw)
{
    const HuntingInputs in = oneLineInputs(raw);
    text.replace(QStringLiteral("[ScriptName]"), in.scriptName);
    text.replace(QStringLiteral("[restplace]"), in.restPlace);
    text.replace(QStringLiteral("[stance]"), in.stance);
    text.replace(QStringLiteral("[anchor]"), in.huntingAnchor);
    for (int n = 1; n <= 6; ++n) {
        const QString placeholder = QStringLiteral("[option%1]").arg(n);
        const QString &command = in.startCommands[std::size_t(n - 1)];
        if (command.isEmpty())
            text.remove(QStringLiteral("put ") + placeholder + QStringLiteral("\r\npause 0.5\r\n"));
        else
            text.replace(placeholder, command);
    }
    const QString *skins[] = {&in.critter1Skin, &in.critter2Skin, &in.critter3Skin};
    for (int n = 1; n <= 3; ++n) {
        const QString placeholder = QStringLiteral("[skin%1]").arg(n);
        // "put stow my " with nothing after it would be a line the game rejects.
        if (skins[n - 1]->isEmpty())
            removeLinesHolding(text, placeholder);
        else
            text.replace(placeholder, *skins[n - 1]);
    }
    text.replace(QStringLiteral("[crittername1]"), in.critter1Name);
    text.replace(QStringLiteral("[crittername2]"),
                 in.critter2Name.isEmpty() ? in.critter1Name : in.critter2Name);
    text.replace(QStringLiteral("[crittername3]"),
                 in.critter3Name.isEmpty() ? in.critter1Name : in.critter3Name);
    fillPath(text, QStringLiteral("fromhunt"), in.pathBack);
    fillPath(text, QStringLiteral("tohunt"), in.pathTo);
    return text;
}

} // namespace Korveth
