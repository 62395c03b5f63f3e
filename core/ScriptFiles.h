#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// Small rules about the program's files, shared by the windows that list and read them.
namespace Korveth {

// A script file: the text after the last "." of its name is exactly "CMD", "cmd", "WIZ" or "wiz".
bool isScriptFileName(const QString &name);

// The names of the regular files in a folder that match the filters (all for none), sorted by
// name, letter case ignored. Links to devices, FIFOs and sockets are left out: opening one could
// block or never end.
QStringList regularFilesIn(const QDir &folder, const QStringList &nameFilters = {});

// A file's full path from its folder and name, with one separator between them.
QString joinFolderAndName(const QString &folder, const QString &name);

// The entries of a Quick Nav list: every line that is not blank (spaces and tabs only), exactly
// as written, in file order.
QStringList parseQuickNavEntries(QStringView text);

} // namespace Korveth
