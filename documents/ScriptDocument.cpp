#include "ScriptDocument.h"

#include "FileStore.h"

#include <QFileInfo>

namespace Korveth {

ScriptDocument::ScriptDocument(FileStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{}

void ScriptDocument::startNew(int number)
{
    m_origin = Origin::New;
    m_path.clear();
    m_caption = QStringLiteral("New Script %1").arg(number);
    m_format = {};
    m_known = m_acknowledged = {};
    Q_EMIT captionChanged(m_caption);
}

ReadResult ScriptDocument::load(const QString &path, Origin origin, TextSink &shownIn)
{
    const ReadResult read = readTextFileInto(path, shownIn);
    if (read.error.isEmpty())
        takeLoaded(path, read, origin);
    return read;
}

void ScriptDocument::takeLoaded(const QString &path, const ReadResult &read, Origin origin)
{
    m_origin = origin;
    m_path = origin == Origin::File ? path : QString();
    if (origin == Origin::File)
        m_caption = path;
    m_format = read.text.format;
    m_known = m_acknowledged = origin == Origin::File ? read.snapshot : FileSnapshot{};
    setChanged(false);
    Q_EMIT captionChanged(m_caption);
}

QString ScriptDocument::shortName() const
{
    return m_origin == Origin::File ? QFileInfo(m_path).fileName() : m_caption;
}

void ScriptDocument::setChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    Q_EMIT changedChanged(changed);
}

ScriptDocument::SaveOutcome ScriptDocument::save(const QString &path, QByteArrayView utf8)
{
    SaveOutcome outcome;
    TextFileFormat format = m_format;
    std::optional<QByteArray> bytes = encodeText(utf8, format);
    if (!bytes) {
        format.encoding = TextEncoding::Utf8;
        format.byteOrderMark = false;
        bytes = encodeText(utf8, format);
        outcome.notice = QStringLiteral("The script holds characters that %1 cannot store, so it "
                                        "was saved as UTF-8.")
                             .arg(formatName(m_format));
    }
    const SaveResult saved = saveFile(m_store, path, *bytes);
    if (!saved.error.isEmpty())
        return {saved.error, saved.oldContentKept, {}};

    m_format = format;
    m_origin = Origin::File;
    m_path = path;
    m_known = m_acknowledged = FileSnapshot::of(path, *bytes);
    setChanged(false);
    if (m_caption != path) {
        m_caption = path;
        Q_EMIT captionChanged(m_caption);
    }
    return outcome;
}

ScriptDocument::DiskState ScriptDocument::diskState() const
{
    if (m_origin != Origin::File || !m_known.exists)
        return DiskState::Unchanged;
    if (!QFileInfo(m_path).isFile())
        return DiskState::Missing;
    return m_known.matchesDisk(m_path) ? DiskState::Unchanged : DiskState::Modified;
}

void ScriptDocument::acknowledgeDisk()
{
    if (m_origin == Origin::File)
        m_acknowledged = FileSnapshot::read(m_path);
}

bool ScriptDocument::diskChangeAcknowledged() const
{
    return m_origin != Origin::File || m_acknowledged.matchesDisk(m_path);
}

} // namespace Korveth
