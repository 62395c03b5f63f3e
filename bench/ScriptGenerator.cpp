#include "ScriptGenerator.h"

#include <QRandomGenerator>

namespace KorvethBench {

QByteArray realisticScript(int lines)
{
    static const char *const moves[] = {"north", "south", "east", "west", "up", "down", "out"};
    static const char *const creatures[] = {"goblin", "rat", "kobold", "troll", "wolf"};
    QRandomGenerator random(42);
    QByteArray text;
    text.reserve(qsizetype(lines) * 26);
    int label = 0;
    for (int i = 0; i < lines; ++i) {
        if (i > 0)
            text += "\r\n";
        const auto creature = creatures[random.bounded(5)];
        switch (random.bounded(16)) {
        case 0:
            text += "loop" + QByteArray::number(++label) + ':';
            break;
        case 1:
            text += "\tmatch loop" + QByteArray::number(label) + " You also see a " + creature;
            break;
        case 2:
            text += "\tmatchwait";
            break;
        case 3:
            text += "\tgoto loop" + QByteArray::number(qMax(1, label));
            break;
        case 4:
            text += "# look for the ";
            text += creature;
            text += " in the next room";
            break;
        case 5:
            text += "\tput attack the ";
            text += creature;
            text += " with my sword";
            break;
        case 6:
            text += "\tmove ";
            text += moves[random.bounded(7)];
            break;
        case 7:
            text += "\twaitfor Roundtime: 3 seconds";
            break;
        case 8:
            text += "\tpause 2";
            break;
        case 9:
            text += "\tcounter add 1";
            break;
        case 10:
            text += "";
            break;
        case 11:
            text += "\tif_1 goto %1";
            break;
        case 12:
            text += "\tsave %c";
            break;
        case 13:
            text += "\techo Hunting the ";
            text += creature;
            break;
        default:
            text += "\tput get my ";
            text += creature;
            text += " skin from my backpack";
            break;
        }
    }
    return text;
}

QByteArray modernScript(int lines)
{
    static const char *const creatures[] = {"goblin", "rat", "kobold", "troll", "wolf"};
    QRandomGenerator random(43);
    QByteArray text;
    text.reserve(qsizetype(lines) * 26);
    int label = 0;
    for (int i = 0; i < lines; ++i) {
        if (i > 0)
            text += "\r\n";
        const QByteArray creature = creatures[random.bounded(5)];
        switch (random.bounded(14)) {
        case 0:
            text += "hunt" + QByteArray::number(++label) + ':';
            break;
        case 1:
            text += "  matchre hunt" + QByteArray::number(qMax(1, label)) + " /" + creature
                    + "|rat/";
            break;
        case 2:
            text += "  matchwait 5";
            break;
        case 3:
            text += "  gosub hunt" + QByteArray::number(qMax(1, label));
            break;
        case 4:
            text += "  if $health < 50 then goto hunt" + QByteArray::number(qMax(1, label));
            break;
        case 5: // a small block, whole
            text += "  if %count > 3 then {\r\n    put attack " + creature + "\r\n  }";
            i += 2;
            break;
        case 6:
            text += "  var target " + creature;
            break;
        case 7:
            text += "  math count add 1";
            break;
        case 8:
            text += "  waitforre ^You (hit|miss)";
            break;
        case 9:
            text += "  put attack %target";
            break;
        case 10:
            text += "  return";
            break;
        case 11:
            text += "# look for the " + creature;
            break;
        case 12:
            text += "";
            break;
        default:
            text += "  pause 0.5";
            break;
        }
    }
    return text;
}

QByteArray gotoStorm(int gotoLines)
{
    QByteArray text;
    text.reserve(qsizetype(gotoLines) * 40);
    for (int i = 0; i < gotoLines; ++i)
        text += "goto label" + QByteArray::number(i) + "\r\nput step " + QByteArray::number(i)
                + "\r\n";
    for (int i = 0; i < gotoLines; ++i)
        text += "label" + QByteArray::number(i) + ":\r\n";
    text += "exit";
    return text;
}

QByteArray gameLog(int lines)
{
    static const char *const said[] = {"A goblin comes into view.",
                                       "You attack the goblin with your sword.",
                                       "The rat bites you!",
                                       "Roundtime: 3 sec.",
                                       "You see a troll and a rat.",
                                       "Obvious exits: north, east, south.",
                                       "The kobold dodges.",
                                       "You miss the goblin.",
                                       "Someone says, \"Hello there.\"",
                                       "You feel tired.",
                                       "It is raining here.",
                                       "You killed the rat!"};
    QRandomGenerator random(17);
    QByteArray text;
    text.reserve(qsizetype(lines) * 28);
    for (int i = 0; i < lines; ++i) {
        text += said[random.bounded(12)];
        text += "\r\n";
    }
    return text;
}

} // namespace KorvethBench
