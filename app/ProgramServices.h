#pragma once

#include "ProgramPaths.h"

class QSettings;

namespace Korveth {

class Dialogs;
class FileStore;
struct EditorServices;

// What the whole program shares, made once by main() and passed down to the main window; tests
// make their own (scripted dialogs, a store that fails on demand, a folder of their own).
struct ProgramServices
{
    Dialogs &dialogs;
    EditorServices &editors;
    FileStore &files;
    ProgramPaths paths;
    // Where the options are kept between runs; none: they last for the run only.
    QSettings *settings = nullptr;
};

} // namespace Korveth
