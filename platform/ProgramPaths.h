#pragma once

#include <QString>

namespace Korveth {

// Where the program's own files lie: the program folder, and the data files in it. The program
// uses the folder of its executable; tests point it at a folder of their own.
class ProgramPaths
{
public:
    explicit ProgramPaths(QString programFolder);
    // The folder of the running executable.
    static ProgramPaths ofRunningProgram();

    const QString &programFolder() const { return m_folder; }
    // The program folder joined with a fixed relative name ("huntgen.dat", "Temp/tags.dat").
    QString dataFile(const QString &relativeName) const;

private:
    QString m_folder;
};

} // namespace Korveth
