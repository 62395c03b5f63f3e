#pragma once

#include <QByteArray>

// Generates scripts for the benchmarks: realistic hunting-style scripts (about 25 bytes a line,
// labels, matches, gotos, comments), and a pathological one of gotos to distinct labels.
namespace KorvethBench {

QByteArray realisticScript(int lines);

// The same hunt as players write it today: variables, gosubs, if ... then, blocks, matchre.
QByteArray modernScript(int lines);

// Every other line is a goto to its own label, defined at the end.
QByteArray gotoStorm(int gotoLines);

// A recorded hunting session: game-like lines, one in twelve or so a line a hunting script
// matches ("You miss", "You killed").
QByteArray gameLog(int lines);

} // namespace KorvethBench
