#pragma once

#include "EditorServices.h"
#include "FileStore.h"
#include "ScriptedDialogs.h"
#include "MainWindow.h"

#include <QApplication>

namespace KorvethBench {

// The main window as the program starts it, shown at a fixed size, with nobody at the dialogs:
// what the editor benchmarks time their work in.
struct BenchWindow
{
    explicit BenchWindow(const Korveth::ProgramPaths &paths)
        : window({dialogs, editors, files, paths})
    {
        window.resize(1000, 700);
        window.show();
        window.startUp({});
        QApplication::processEvents();
    }

    Korveth::ScriptedDialogs dialogs;
    Korveth::EditorServices editors;
    Korveth::DiskFileStore files;
    Korveth::MainWindow window;
};

} // namespace KorvethBench
