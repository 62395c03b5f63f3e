#pragma once

#include <QString>
#include <QStringList>

namespace Korveth {

// The recent-files list, recent.dat: one full path a line, CR LF ended, only ever appended to.
class RecentFiles
{
public:
    explicit RecentFiles(QString path)
        : m_path(std::move(path))
    {}

    // Where the list lives: in the program folder, or in the user's folder when the program
    // folder (or a list already there) cannot be written.
    static QString locate(const QString &programFolder, const QString &userFolder);

    const QString &path() const { return m_path; }
    // Appends the path as one line; false when the list could not be written.
    bool append(const QString &openedPath) const;
    // The paths in the order they were appended; empty when there is no list.
    QStringList read() const;

private:
    QString m_path;
};

} // namespace Korveth
