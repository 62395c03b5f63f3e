#pragma once

#include <QString>

namespace Korveth {

// Where the program's own files lie: the folder of the executable, and the data files in it.
class ProgramPaths
{
public:
    // The folder of the running executable.
    static QString programFolder();
    // The program folder joined with a fixed relative name ("huntgen.dat", "Temp/tags.dat").
    static QString dataFile(const QString &relativeName);
    // Tests point the program at a folder of their own.
    static void overrideProgramFolder(const QString &folder);
};

} // namespace Korveth
