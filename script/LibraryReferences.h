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
// includes that one, directly or not, and whose jumps reach that definition (not its own, nor an
// earlier include's); open scripts as they stand, the others as saved.
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
    // Whether the library was walked to its end: a root too large for the walk (a home folder)
    // leaves scripts unseen, and then places and scriptsSeeing may miss some.
    bool complete() const { return !m_cutShort; }

private:
    ScriptLibrary &m_library;
    QString m_root;
    QStringList m_open;
    bool m_cutShort = false;
};

// What to tell the user when the walk of the library under root stopped early.
QString libraryCutShortText(const QString &root);

} // namespace Korveth
