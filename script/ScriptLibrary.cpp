#include "ScriptLibrary.h"

#include "ModernWords.h"
#include "RegularFile.h"
#include "ScriptLanguage.h"
#include "TextFile.h"
#include "TextLines.h"

#include <QDir>
#include <QFileInfo>

namespace Korveth {

namespace {

bool isScriptName(const QString &name)
{
    return name.endsWith(u".cmd", Qt::CaseInsensitive)
           || name.endsWith(u".wiz", Qt::CaseInsensitive);
}

// The name an include line writes, as a relative path: backslashes as slashes, no quotes.
QString includePath(QStringView written)
{
    QString name = written.toString();
    name.replace(u'\\', u'/');
    if (name.size() > 1 && name.startsWith(u'"') && name.endsWith(u'"'))
        name = name.sliced(1, name.size() - 2);
    return name;
}

// Whether a folder is the root or lies below it.
bool within(const QString &folder, const QString &root)
{
    return folder == root || folder.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

QStringView requiredPart(QStringView line)
{
    constexpr QStringView word = u"#REQUIRE";
    if (line.size() <= word.size() || !line.startsWith(word, Qt::CaseInsensitive)
        || (line[word.size()] != u' ' && line[word.size()] != u'\t'))
        return {};
    return trimmedView(line.sliced(word.size()));
}

QStringView includeNamedBy(QStringView trimmedLine)
{
    if (const auto [word, rest] = firstWordAndRest(trimmedLine);
        equalsWord(word, QLatin1StringView("include")))
        return rest;
    return requiredPart(trimmedLine);
}

const ScriptLibrary::Listing &ScriptLibrary::listing(const QString &folder)
{
    const QFileInfo info(folder);
    const QDateTime modified = info.lastModified();
    auto known = m_listings.find(folder);
    if (known != m_listings.end() && known->modified == modified && modified.isValid())
        return *known;
    Listing fresh;
    fresh.modified = modified;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden
                                                     | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        fresh.byFoldedName.insert(name.toCaseFolded(), name);
        fresh.holdsScripts = fresh.holdsScripts || isScriptName(name);
        fresh.holdsGit = fresh.holdsGit || name == u".git";
    }
    return *m_listings.insert(folder, std::move(fresh));
}

namespace {

// Only regular files within the size limit for scripts: a link to a device or a FIFO would never
// end or never answer.
FoundInclude judgeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) // a folder named like the script is passed over
        return {};
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (!isRegularFile(path) || info.size() > maxScriptBytes)
        return {clean, IncludeFile::Unreadable};
    return {clean, IncludeFile::Found};
}

} // namespace

FoundInclude ScriptLibrary::findIn(const QString &folder, const QString &name)
{
    const QFileInfo exact(QDir(folder).filePath(name));
    if (FoundInclude there = judgeFile(exact.filePath()); there.state != IncludeFile::Missing)
        return there;
    const QString parent = QDir::cleanPath(exact.absolutePath());
    const Listing &entries = listing(parent);
    const auto found = entries.byFoldedName.constFind(exact.fileName().toCaseFolded());
    if (found == entries.byFoldedName.constEnd())
        return {};
    return judgeFile(parent + u'/' + *found);
}

QString ScriptLibrary::resolve(const IncludeSearch &search, QStringView written)
{
    return find(search, written).script();
}

FoundInclude ScriptLibrary::find(const IncludeSearch &search, QStringView written)
{
    const QMutexLocker lock(&m_mutex);
    return findLocked(search, written);
}

FoundInclude ScriptLibrary::findLocked(const IncludeSearch &search, QStringView written)
{
    const QString name = includePath(written);
    if (search.folder.isEmpty() || name.isEmpty())
        return {};
    QString folder = QDir::cleanPath(QDir(search.folder).absolutePath());
    const QString root
        = search.root.isEmpty() ? folder : QDir::cleanPath(QDir(search.root).absolutePath());
    const bool climb = within(folder, root);
    for (int level = 0; level < 64; ++level) {
        for (const QString &candidate : {name, name + QStringLiteral(".cmd")}) {
            if (FoundInclude found = findIn(folder, candidate); found.state != IncludeFile::Missing)
                return found;
        }
        if (!climb || folder == root)
            break;
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return {};
}

QString ScriptLibrary::libraryRootOf(const QString &start)
{
    const QMutexLocker lock(&m_mutex);
    QString folder = QDir::cleanPath(QDir(start).absolutePath());
    for (int level = 0; level < 64; ++level) {
        if (listing(folder).holdsGit)
            return folder;
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return folder;
        const Listing &above = listing(parent);
        if (!above.holdsScripts && !above.holdsGit)
            return folder;
        folder = parent;
    }
    return folder;
}

void ScriptLibrary::setOpenText(const QString &path, const QByteArray &utf8)
{
    const QMutexLocker lock(&m_mutex);
    m_open.insert(path, {utf8, {}, ++m_openVersions});
}

void ScriptLibrary::setOpenSource(const QString &path, OpenSource text)
{
    const QMutexLocker lock(&m_mutex);
    m_open.insert(path, {{}, std::move(text), ++m_openVersions});
}

void ScriptLibrary::changed(const QString &path)
{
    const QMutexLocker lock(&m_mutex);
    if (const auto open = m_open.find(path); open != m_open.end())
        open->version = ++m_openVersions;
}

void ScriptLibrary::closeText(const QString &path)
{
    const QMutexLocker lock(&m_mutex);
    m_open.remove(path);
}

const ScriptLibrary::Script *ScriptLibrary::scriptAt(const QString &path)
{
    const auto open = m_open.constFind(path);
    const QFileInfo info(path);
    Script &known = m_scripts[path];
    const bool fresh = open != m_open.constEnd()
                           ? known.openVersion == open->version
                           : known.openVersion == 0 && known.size == info.size()
                                 && known.modified == info.lastModified() && known.size >= 0;
    if (fresh)
        return &known;
    std::optional<QByteArray> openText;
    if (open != m_open.constEnd())
        openText = open->text();
    const bool readOpen = openText.has_value();
    QByteArray utf8;
    if (readOpen) {
        utf8 = std::move(*openText);
    } else {
        const ReadResult read = readTextFile(path);
        if (!read.error.isEmpty()) {
            m_scripts.remove(path);
            return nullptr;
        }
        utf8 = read.text.utf8;
    }
    Script script;
    script.size = info.size();
    script.modified = info.lastModified();
    script.openVersion = readOpen ? open->version : 0;
    LineDecoder decoder;
    int lineNumber = -1;
    forEachEditorLine(QByteArrayView(utf8), [&](QByteArrayView raw, QByteArrayView) {
        ++lineNumber;
        const QStringView whole = decoder.decode(raw);
        const QStringView line = trimmedView(whole);
        if (const QStringView label = labelDefinedBy(line); !label.isEmpty()) {
            script.labels.append({label.toString(), path, lineNumber, leadingBlankCount(whole)});
            return;
        }
        if (const QStringView named = includeNamedBy(line); !named.isEmpty())
            script.includes.append(named.toString());
    });
    known = std::move(script);
    return &known;
}

QStringList ScriptLibrary::scriptsUnder(const QString &root, int most, bool *cutShort)
{
    bool cut = false;
    const QMutexLocker lock(&m_mutex);
    // A root guessed too high (a home folder) must not cost a walk of the whole disk.
    constexpr int mostEntries = 100000;
    constexpr int deepest = 8;
    QStringList scripts;
    QList<std::pair<QString, int>> folders{{QDir::cleanPath(QDir(root).absolutePath()), 0}};
    int entriesSeen = 0;
    while (!folders.isEmpty() && scripts.size() < most && entriesSeen < mostEntries) {
        const auto [folder, depth] = folders.takeFirst();
        const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
        entriesSeen += int(entries.size());
        for (const QFileInfo &entry : entries) {
            if (entry.isDir()) {
                if (entry.fileName().startsWith(u'.'))
                    continue;
                if (depth < deepest)
                    folders.append({entry.absoluteFilePath(), depth + 1});
                else
                    cut = true;
            } else if (isScriptName(entry.fileName())) {
                if (scripts.size() < most)
                    scripts.append(entry.absoluteFilePath());
                else
                    cut = true;
            }
        }
    }
    if (cutShort)
        *cutShort = cut || !folders.isEmpty();
    return scripts;
}

QStringList ScriptLibrary::includesOf(const QString &path, const QString &root)
{
    const QMutexLocker lock(&m_mutex);
    const Script *script = scriptAt(path);
    if (!script)
        return {};
    const QStringList written = script->includes;
    const IncludeSearch search(QFileInfo(path).path(), root);
    QStringList found;
    for (const QString &include : written) {
        if (QString file = findLocked(search, include).script(); !file.isEmpty())
            found.append(file);
    }
    return found;
}

QByteArray ScriptLibrary::textOf(const QString &path, QString *error)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (const auto open = m_open.constFind(path); open != m_open.constEnd()) {
            if (std::optional<QByteArray> text = open->text())
                return std::move(*text);
        }
    }
    ReadResult read = readTextFile(path);
    if (error)
        *error = read.error;
    return read.error.isEmpty() ? std::move(read.text.utf8) : QByteArray();
}

QList<IncludedLabel> ScriptLibrary::labelsOf(const QString &path, const QString &root)
{
    const QMutexLocker lock(&m_mutex);
    QList<IncludedLabel> labels;
    QSet<QString> visited;
    collect(path, root, visited, labels, 1);
    return labels;
}

void ScriptLibrary::collect(const QString &path,
                            const QString &root,
                            QSet<QString> &visited,
                            QList<IncludedLabel> &labels,
                            int depth)
{
    if (depth > 64 || visited.contains(path))
        return;
    visited.insert(path);
    const Script *script = scriptAt(path);
    if (!script)
        return;
    labels += script->labels;
    const QStringList includes = script->includes; // the cache may grow while we walk
    const IncludeSearch search(QFileInfo(path).path(), root);
    for (const QString &written : includes) {
        const QString included = findLocked(search, written).script();
        if (!included.isEmpty())
            collect(included, root, visited, labels, depth + 1);
    }
}

} // namespace Korveth
