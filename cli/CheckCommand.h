#pragma once

#include <QStringList>

#include <cstdio>

namespace Korveth {

// The command-line checker: korveth-check [--format report|gcc] FILE...
// Arguments exclude the program name. Returns the exit status: 0 no error verdict, 1 an error
// verdict in some file, 2 a file that could not be read or a usage error.
int runCheckCommand(const QStringList &arguments, std::FILE *in, std::FILE *out, std::FILE *err);

} // namespace Korveth
