// The Script Runner in the editor, offscreen: the first Step Into on a generated realistic script
// (the run made ready: the script read from the editor, its labels and blocks found) and the
// median of the steps after it, each against a generated game log.
//   bench_runner [LINES...]   (default: 100000 1000000)
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "ScriptGenerator.h"
#include "ScriptRunnerCommand.h"
#include "ScriptRunnerWindow.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KorvethBench;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100000, 1000000};

    QTemporaryDir dir;
    BenchWindow bench{Korveth::ProgramPaths(dir.path())};
    Korveth::frmMain &window = bench.window;
    const QString log = dir.filePath(QStringLiteral("game.log"));
    QFile logFile(log);
    if (!logFile.open(QIODevice::WriteOnly) || logFile.write(gameLog(100000)) < 0)
        return 1;
    logFile.close();
    for (int lines : sizes) {
        const QString path = dir.filePath(QStringLiteral("s%1.cmd").arg(lines));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(realisticScript(lines)) < 0)
            return 1;
        file.close();
        window.documents().OpenDocument(path, QStringLiteral("s"));
        window.runCommand(QStringLiteral("srun"));
        Korveth::ScriptRunnerWindow *runner = window.scriptRunner().window();
        runner->logPath().setText(log);
        QElapsedTimer timer;
        timer.start();
        runner->stepInto();
        const double first = double(timer.nsecsElapsed()) / 1e6;
        std::vector<double> steps;
        for (int i = 0; i < 200 && runner->running(); ++i) {
            timer.restart();
            runner->stepInto();
            steps.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(steps.begin(), steps.end());
        std::printf("%d lines: the first step %.1f ms, later steps %.2f ms (median of %zu), the "
                    "slowest %.1f ms\n",
                    lines,
                    first,
                    steps.empty() ? 0.0 : steps[steps.size() / 2],
                    steps.size(),
                    steps.empty() ? 0.0 : steps.back());
        runner->stopRun();
    }
    return 0;
}
