#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace Korveth {

// A profile of the globals a plain-text log cannot give ($charactername, $zoneid, ...): a text
// file, one NAME=VALUE a line, the name with or without its "$"; empty lines and lines starting
// with "#" are passed over. Read as scripts are (a regular file, at most 256 MB, any encoding).
// Nothing, and error set, when it cannot be read or a line is not NAME=VALUE.
std::optional<QHash<QString, QString>> readGlobalsFile(const QString &path, QString *error);

} // namespace Korveth
