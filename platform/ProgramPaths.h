#pragma once

#include <QString>

namespace Korveth {

// Where the program's own files lie: the program folder, and the data files in it. A program in
// the build tree has its data beside it; an installed one under ../share/korveth-script-editor.
// Tests point it at a folder of their own.
class ProgramPaths
{
public:
    explicit ProgramPaths(QString programFolder, bool installed = false);
    // The data folder of the running executable.
    static ProgramPaths ofRunningProgram();
    // The data folder of an executable in the given folder.
    static ProgramPaths forExecutableFolder(const QString &executableFolder);

    const QString &programFolder() const { return m_folder; }
    // True for an installed program: its data folder is not the user's to write.
    bool installed() const { return m_installed; }
    // The program folder joined with a fixed relative name ("huntgen.dat", "Temp/tags.dat").
    QString dataFile(const QString &relativeName) const;

private:
    QString m_folder;
    bool m_installed;
};

} // namespace Korveth
