#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

// Makes an existing file impossible to replace for as long as it lives: its folder read-only for
// an ordinary user; the file immutable for root, whom permissions do not stop.
class Unwritable
{
public:
    explicit Unwritable(const QString &path)
        : m_path(path)
        , m_folder(QFileInfo(path).absolutePath())
    {
        if (geteuid() == 0) {
            m_ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
        } else {
            m_ok = QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~Unwritable()
    {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // False when the file system offers no way to lock it (the test then skips).
    bool ok() const { return m_ok; }

private:
    QString m_path;
    QString m_folder;
    bool m_ok = false;
};
