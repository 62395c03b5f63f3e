#pragma once

#include "ScriptLibrary.h"

#include <QList>
#include <QString>

namespace Korveth {

// A label's name on a line of some script of a library.
struct LabelPlace
{
    QString path;
    int line = 0;
    qsizetype column = 0; // UTF-16 units
    qsizetype length = 0;
    bool definition = false;
    QString text; // the line, trimmed
};

// Where a label is known across a library: in the script that defines it and in every script that
// includes that one, directly or not, and does not define the name itself; open scripts as they
// stand, the others as saved.
class LibraryReferences
{
public:
    // The scripts open in an editor count too, saved or not.
    LibraryReferences(ScriptLibrary &library, QString root, QStringList open = {});

    // The script of those given that defines the label, looked for from the one it is named in:
    // that script itself, else the script its includes bring the label from. Empty when none does.
    QString definingScript(const QString &namedIn, const QString &label);
    // The definition and every reference, script by script in path order, lines in order.
    QList<LabelPlace> placesOf(const QString &definingPath, const QString &label);
    // The scripts that see the labels of this one: itself and those including it.
    QStringList scriptsSeeing(const QString &definingPath);
    // Whether a script that sees the label already knows another by the new name: a rename onto
    // it would join two labels into one.
    bool nameTaken(const QString &definingPath, const QString &label, const QString &newName);

private:
    ScriptLibrary &m_library;
    QString m_root;
    QStringList m_open;
};

} // namespace Korveth
