#pragma once

#include <QByteArray>
#include <QList>

#include <cstdio>

namespace Korveth {

// The command-line checker: korveth-check [--format report|gcc|json|sarif] FILE...
// Arguments are the command line's bytes, without the program name. Returns the exit status: 0
// no error verdict, 1 an error verdict in some file, 2 a file that could not be read, output that
// could not be written, or a usage error.
int runCheckCommand(const QList<QByteArray> &arguments,
                    std::FILE *in,
                    std::FILE *out,
                    std::FILE *err);

} // namespace Korveth
