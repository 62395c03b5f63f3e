#pragma once

#include "ModernChecker.h"

#include <QObject>

namespace Korveth {

// Whether editors show mistakes as the user types, in which dialect, and where includes are looked
// for: one for the program, shared by every editor, with the library of scripts they check.
class LiveCheckSettings : public QObject
{
    Q_OBJECT

public:
    bool enabled() const { return m_enabled; }
    DialectChoice dialect() const { return m_dialect; }
    // The "Scripts folder" option: the root includes are looked for up to. Empty: each script's
    // library root, found by looking.
    QString scriptsFolder() const { return m_scriptsFolder; }
    ScriptLibrary &library() { return m_library; }

    void setEnabled(bool enabled)
    {
        if (enabled == m_enabled)
            return;
        m_enabled = enabled;
        Q_EMIT changed();
    }
    void setDialect(DialectChoice dialect)
    {
        if (dialect == m_dialect)
            return;
        m_dialect = dialect;
        Q_EMIT changed();
    }

    void setScriptsFolder(const QString &folder)
    {
        if (folder == m_scriptsFolder)
            return;
        m_scriptsFolder = folder;
        Q_EMIT changed();
    }

Q_SIGNALS:
    void changed();
    // A script's text changed in an editor, or an editor let it go: the scripts that include it
    // are judged again.
    void scriptChanged(const QString &path);

private:
    bool m_enabled = true;
    DialectChoice m_dialect = DialectChoice::Auto;
    QString m_scriptsFolder;
    ScriptLibrary m_library;
};

} // namespace Korveth
