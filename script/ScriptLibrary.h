#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

#include "ModernSurvey.h"

namespace Korveth {

// Where a script's includes are looked for: beside it (its folder), then in each folder above it
// up to the library's root, the root included. An empty root, or a folder outside it: beside it
// only. An empty folder (a script with no file yet): nowhere.
struct IncludeSearch
{
    IncludeSearch(QString folder = {}, QString root = {})
        : folder(std::move(folder))
        , root(std::move(root))
    {}
    QString folder;
    QString root;

    friend bool operator==(const IncludeSearch &, const IncludeSearch &) = default;
};

// The file an include line names: its path, empty when it is Missing.
struct FoundInclude
{
    QString path;
    IncludeFile state = IncludeFile::Missing;
    // The path of a script that can be read, else empty.
    QString script() const { return state == IncludeFile::Found ? path : QString(); }
    friend bool operator==(const FoundInclude &, const FoundInclude &) = default;
};

// The name a "#REQUIRE name" line (a comment that names a part the script is assembled from)
// requires, or empty for any other line.
QStringView requiredPart(QStringView trimmedLine);
// What an include line names ("include NAME", or the part a "#REQUIRE" names), else nothing.
QStringView includeNamedBy(QStringView trimmedLine);

// A label that an included script defines: its name as written, the file and the line.
struct IncludedLabel
{
    QString name;
    QString path;
    int line = 0;
    qsizetype column = 0; // UTF-16 units
};

// What the scripts of a library know of each other, shared by every check of one of them: which
// file an include names, and the labels a script and the scripts it includes define. Folders are
// listed and files read once, and again only when they changed; the text of a script open in an
// editor stands for its file. Safe to use from several threads.
class ScriptLibrary
{
public:
    // The file an include (or #REQUIRE) line names, written as it follows the word: as written, or
    // with ".cmd", letter case ignored when the exact name is not there; backslashes separate
    // folders too, and quotes around the name are dropped. Empty when there is no such file, or
    // it cannot be read as a script (find() tells which).
    QString resolve(const IncludeSearch &search, QStringView written);
    // The same, and whether a name that found nothing readable found something unreadable: the
    // nearest file of that name is what the include gets, so an unreadable one ends the search.
    FoundInclude find(const IncludeSearch &search, QStringView written);

    // The labels the script at path defines and, recursively, those of the scripts it includes;
    // a cycle ends the walk. Their includes are looked for up to the root.
    QList<IncludedLabel> labelsOf(const QString &path, const QString &root);

    // Every script file (*.cmd, *.wiz) in the root and the folders below it; at most the given
    // number, a library larger than that being no library. cutShort (when given) tells whether
    // the walk stopped before the end: that many scripts, 100,000 entries, or 8 levels down.
    QStringList scriptsUnder(const QString &root, int most = 20000, bool *cutShort = nullptr);
    // The files a script includes or requires, found as its check finds them.
    QStringList includesOf(const QString &path, const QString &root);
    // A script's text as the library sees it: open, or its file; empty when it cannot be read,
    // and then error (when given) says why.
    QByteArray textOf(const QString &path, QString *error = nullptr);

    // The root of the library a folder of scripts belongs to, when none is set: the highest
    // folder above it, itself included, reached through folders that all hold scripts; a folder
    // that holds ".git" is a root whatever is above it.
    QString libraryRootOf(const QString &folder);

    // An open script's text, as UTF-8: it stands for the file until closed.
    void setOpenText(const QString &path, const QByteArray &utf8);
    // Or where to get it when it is needed (asked on the thread that needs it; none: the file
    // stands for it this time); changed() says it is no longer what it was.
    using OpenSource = std::function<std::optional<QByteArray>()>;
    void setOpenSource(const QString &path, OpenSource text);
    void changed(const QString &path);
    void closeText(const QString &path);

private:
    struct Listing
    {
        QDateTime modified;
        QHash<QString, QString> byFoldedName; // case-folded name: the name on disk
        bool holdsScripts = false;
        bool holdsGit = false;
    };
    struct Script
    {
        qint64 size = -1;
        QDateTime modified;
        quint64 openVersion = 0; // of the open text it was read from, 0 for the file
        QList<IncludedLabel> labels;
        QStringList includes; // as written after the word
    };

    const Listing &listing(const QString &folder);
    FoundInclude findLocked(const IncludeSearch &search, QStringView written);
    FoundInclude findIn(const QString &folder, const QString &name);
    const Script *scriptAt(const QString &path);
    void collect(const QString &path,
                 const QString &root,
                 QSet<QString> &visited,
                 QList<IncludedLabel> &labels,
                 int depth);

    QMutex m_mutex;
    QHash<QString, Listing> m_listings;
    QHash<QString, Script> m_scripts;
    struct OpenText
    {
        QByteArray utf8;
        OpenSource source;
        quint64 version = 0;

        std::optional<QByteArray> text() const { return source ? source() : utf8; }
    };
    QHash<QString, OpenText> m_open;
    quint64 m_openVersions = 0;
};

} // namespace Korveth
