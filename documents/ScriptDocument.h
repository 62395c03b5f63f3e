#pragma once

#include "FileSnapshot.h"
#include "TextFile.h"

#include <QObject>

namespace Korveth {

class FileStore;

// One open script apart from any window: where it comes from, its caption, the format of its
// file, whether it has changed, and loading and saving through the file layer. The text itself
// is the editor's; saving takes it as UTF-8.
class ScriptDocument final : public QObject
{
    Q_OBJECT

public:
    enum class Origin {
        New,      // "New Script N", never saved
        File,     // tied to the file of path()
        Template, // text taken from a template that must never be written: counts as never saved
    };

    explicit ScriptDocument(FileStore &store, QObject *parent = nullptr);

    // A new, empty script named "New Script " and the number.
    void startNew(int number);
    // Reads and decodes the file at path, handing its text to whatever shows it as it is read,
    // and takes its name, format and state; a template leaves the document never saved, with the
    // caption it had. The document is unchanged after an error.
    ReadResult load(const QString &path, Origin origin, TextSink &shownIn);
    // Takes what was read from the file elsewhere.
    void takeLoaded(const QString &path, const ReadResult &read, Origin origin);

    Origin origin() const { return m_origin; }
    // The file's full path; empty while the document has none.
    QString path() const { return m_origin == Origin::File ? m_path : QString(); }
    // The window caption: "New Script N", or the file's full path once opened or saved.
    const QString &caption() const { return m_caption; }
    // What the document is called in few words: the file's name, or "New Script N".
    QString shortName() const;
    bool neverSaved() const { return m_origin != Origin::File; }
    const TextFileFormat &format() const { return m_format; }

    // True once the text changed since the document was created, opened or last saved.
    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    struct SaveOutcome
    {
        QString error;       // empty on success
        bool oldKept = true; // on failure: the file on disk is as it was
        QString notice;      // set when the text could not be kept in the file's encoding
    };
    // Writes the text to path in the document's format; on success the document is tied to that
    // file and no longer changed.
    SaveOutcome save(const QString &path, QByteArrayView utf8);

    enum class DiskState { Unchanged, Modified, Missing };
    // How the file on disk compares with what was last read or written here.
    DiskState diskState() const;
    // The user has been told about the file as it is on disk now; ask again only once it
    // changes again.
    void acknowledgeDisk();
    bool diskChangeAcknowledged() const;

    // Its entry in the document table (1 to 20), 0 while in none; and the number it took there,
    // which tags its tab.
    int entry() const { return m_entry; }
    int number() const { return m_number; }

Q_SIGNALS:
    void captionChanged(const QString &caption);
    void changedChanged(bool changed);

private:
    friend class DocumentTable;

    FileStore &m_store;
    Origin m_origin = Origin::New;
    QString m_path;
    QString m_caption;
    TextFileFormat m_format;
    FileSnapshot m_known;        // as last read or written here
    FileSnapshot m_acknowledged; // as last shown to the user
    bool m_changed = false;
    int m_entry = 0;
    int m_number = 0;
};

} // namespace Korveth
