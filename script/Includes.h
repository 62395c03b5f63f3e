#pragma once

#include <QString>
#include <QStringView>

namespace Korveth {

// The script an include line names, looked for beside the including script (its folder): as
// written, or with ".cmd"; letter case is ignored when the exact name is not there. Backslashes
// separate folders too, and quotes around the name are dropped. Empty when there is no such
// file, or no folder to look in.
QString resolveInclude(const QString &folder, QStringView written);

} // namespace Korveth
