// A Script Debugger run, offscreen, from Start until the summary is written, on generated
// realistic scripts of 100,000 and 1,000,000 lines, beside korveth-check on the same files.
//   bench_debugger [LINES...]   (default: 100000 1000000)
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "EditorServices.h"
#include "FileStore.h"
#include "Memory.h"
#include "ScriptDebugger.h"
#include "ScriptGenerator.h"
#include "ScriptedDialogs.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace KorvethBench;

namespace {

double checkSeconds(const QString &checker, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(checker, {path});
    process.waitForFinished(-1);
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100000, 1000000};

    QTemporaryDir dir;
    KorvethBench::BenchWindow bench{Korveth::ProgramPaths(dir.path())};
    Korveth::MainWindow &window = bench.window;
    const QString checker
        = QCoreApplication::applicationDirPath() + QStringLiteral("/korveth-check");

    for (int lines : sizes) {
        const QString path = dir.filePath(QStringLiteral("s%1.cmd").arg(lines));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(realisticScript(lines)) < 0)
            return 1;
        file.close();
        Korveth::DocumentWindow *document = window.documents().OpenDocument(path, QStringLiteral("s"));
        if (!document)
            return 1;
        QApplication::processEvents();
        const double before = currentMegabytes();

        QElapsedTimer timer;
        timer.start();
        window.debugger().Start();
        const double runSeconds = double(timer.nsecsElapsed()) / 1e9;
        QApplication::processEvents();
        const double peak = peakMegabytes();

        const double cliSeconds = checkSeconds(checker, path);
        std::printf("%8d lines: debugger run %.3f s, korveth-check %.3f s (%.2fx); "
                    "memory %.0f MB before, peak %.0f MB (growth at most %.0f MB)\n",
                    lines,
                    runSeconds,
                    cliSeconds,
                    runSeconds / cliSeconds,
                    before,
                    peak,
                    peak - before);
        document->document().setChanged(false);
        window.runCommand(QStringLiteral("close"));
        QApplication::processEvents();
    }
    return 0;
}
