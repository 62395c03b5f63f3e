#pragma once

#include <QByteArray>
#include <QList>

#include <cstdio>

namespace Korveth {

// The dry run on the command line:
//   korveth-run [--dialect D] [--log FILE] [--var NAME=VALUE]... [--max-steps N]
//               [--on-unknown stop|continue] [--format text|json] [--quiet] SCRIPT [ARG...]
// Prints what the script did and the finding that ended the run. Returns 0 when the script
// ended (exit, or the end of its text) with nothing noted, 1 on any other finding or note, 2 on
// bad input.
int runRunCommand(const QList<QByteArray> &arguments, std::FILE *out, std::FILE *err);

} // namespace Korveth
