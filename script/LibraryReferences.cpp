#include "LibraryReferences.h"

#include "LabelReferences.h"
#include "ScriptLanguage.h"
#include "TextLines.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace Korveth {

namespace {

// The places a label stands in one script's text, its definition only where asked for: a script
// that defines the name itself, not asked for, means its own label and gives none.
void placesIn(const QString &path,
              const QByteArray &utf8,
              const QString &upper,
              bool withDefinition,
              QList<LabelPlace> &places)
{
    QList<LabelPlace> found;
    bool defines = false;
    LineDecoder decoder;
    int lineNumber = -1;
    forEachEditorLine(QByteArrayView(utf8), [&](QByteArrayView raw, QByteArrayView) {
        ++lineNumber;
        const QStringView line = decoder.decode(raw);
        if (const auto at = labelDefinition(line)) {
            if (upperCased(line.sliced(at->column, at->length)) == upper) {
                defines = true;
                found.append(
                    {path, lineNumber, at->column, at->length, true, trimmedView(line).toString()});
            }
            return;
        }
        for (const LabelReference &reference : labelReferences(line)) {
            if (upperCased(line.sliced(reference.column, reference.length)) == upper)
                found.append({path,
                              lineNumber,
                              reference.column,
                              reference.length,
                              false,
                              trimmedView(line).toString()});
        }
    });
    if (!defines || withDefinition)
        places += found;
}

} // namespace

LibraryReferences::LibraryReferences(ScriptLibrary &library, QString root, QStringList open)
    : m_library(library)
    , m_root(std::move(root))
    , m_open(std::move(open))
{}

QString LibraryReferences::definingScript(const QString &namedIn, const QString &label)
{
    const QString upper = upperCased(label);
    for (const IncludedLabel &known : m_library.labelsOf(namedIn, m_root)) {
        if (upperCased(known.name) == upper)
            return known.path; // the script itself comes first, then its includes in order
    }
    return {};
}

QStringList LibraryReferences::scriptsSeeing(const QString &definingPath)
{
    // Who includes whom, among the library's scripts and the defining one.
    bool cutShort = false;
    QStringList scripts = m_library.scriptsUnder(m_root, 20000, &cutShort);
    if (cutShort) {
        // A root too large (a home folder as the workspace, or guessed up through a folder that
        // happens to hold a script): the script's own library below it (the folders of scripts
        // around it, or its .git), else its own folder, may be walked whole.
        const QString folder = QFileInfo(definingPath).path();
        const QString within = QDir::cleanPath(m_root) + u'/';
        for (const QString &own : {m_library.libraryRootOf(folder), folder}) {
            if (!own.startsWith(within))
                continue;
            bool ownCutShort = false;
            QStringList ownScripts = m_library.scriptsUnder(own, 20000, &ownCutShort);
            if (!ownCutShort) {
                scripts = std::move(ownScripts);
                cutShort = false;
                break;
            }
        }
    }
    m_cutShort = m_cutShort || cutShort;
    for (const QString &path : m_open + QStringList{definingPath}) {
        if (!scripts.contains(path))
            scripts.append(path);
    }
    QHash<QString, QStringList> includedBy;
    for (const QString &script : std::as_const(scripts)) {
        for (const QString &included : m_library.includesOf(script, m_root))
            includedBy[included].append(script);
    }
    QStringList seeing{definingPath};
    QSet<QString> seen{definingPath};
    for (qsizetype i = 0; i < seeing.size(); ++i) {
        for (const QString &includer : includedBy.value(seeing[i])) {
            if (!seen.contains(includer)) {
                seen.insert(includer);
                seeing.append(includer);
            }
        }
    }
    std::sort(seeing.begin() + 1, seeing.end());
    return seeing;
}

bool LibraryReferences::nameTaken(const QString &definingPath,
                                  const QString &label,
                                  const QString &newName)
{
    if (upperCased(newName) == upperCased(label))
        return false; // the same label, written otherwise
    for (const QString &script : scriptsSeeing(definingPath)) {
        if (!definingScript(script, newName).isEmpty())
            return true;
    }
    return false;
}

QList<LabelPlace> LibraryReferences::placesOf(const QString &definingPath, const QString &label)
{
    const QString upper = upperCased(label);
    QList<LabelPlace> places;
    for (const QString &script : scriptsSeeing(definingPath)) {
        // A script whose jumps reach another definition of the name (its own, or an include's
        // before this one) means another label.
        if (script != definingPath && definingScript(script, label) != definingPath)
            continue;
        placesIn(script, m_library.textOf(script), upper, script == definingPath, places);
    }
    return places;
}

QString libraryCutShortText(const QString &root)
{
    return QStringLiteral("The library under %1 is too large to look through whole (more than "
                          "20,000 scripts, 100,000 files or 8 folders deep), so some scripts "
                          "were not looked at. Set the scripts folder to the library's own "
                          "folder.")
        .arg(QDir::toNativeSeparators(root));
}

} // namespace Korveth
