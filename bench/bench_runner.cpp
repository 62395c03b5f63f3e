// The Script Runner in the editor, offscreen. Two measures:
//  - a hunting script (a loop of match lines and a matchwait) against a generated log of
//    1,000,000 lines: the first Step Into, the median and the slowest of 200 more, then Continue
//    to the end of the log: how long that takes, and the longest the window is kept from
//    answering while it runs;
//  - the first Step Into on generated realistic scripts of many lines, where making the run
//    ready (reading the script from the editor, finding its labels and blocks) is the cost.
//   bench_runner [SCRIPT_LINES...]   (default: 100000 1000000)
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "ScriptGenerator.h"
#include "ScriptRunnerCommand.h"
#include "ScriptRunnerWindow.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KorvethBench;

namespace {

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

Korveth::ScriptRunnerWindow &
openRunner(Korveth::MainWindow &window, const QString &script, const QString &log)
{
    window.documents().OpenDocument(script, QStringLiteral("s"));
    window.runCommand(QStringLiteral("srun"));
    Korveth::ScriptRunnerWindow &runner = *window.scriptRunner().window();
    runner.logPath().setText(log);
    return runner;
}

double timedStep(Korveth::ScriptRunnerWindow &runner)
{
    QElapsedTimer timer;
    timer.start();
    runner.stepInto();
    return msSince(timer);
}

void huntAgainstLongLog(Korveth::MainWindow &window, const QTemporaryDir &dir)
{
    const QString script = dir.filePath(QStringLiteral("hunt.cmd"));
    const QString log = dir.filePath(QStringLiteral("hunt.log"));
    if (!writeFile(script,
                   "hunt:\r\n  put attack\r\n  match hunt You miss\r\n  match dead You killed\r\n"
                   "  match hunt Roundtime\r\n  matchwait\r\ndead:\r\n  counter add 1\r\n"
                   "  goto hunt\r\n")
        || !writeFile(log, gameLog(1000000)))
        return;
    Korveth::ScriptRunnerWindow &runner = openRunner(window, script, log);
    const double first = timedStep(runner);
    std::vector<double> steps;
    for (int i = 0; i < 200 && runner.running(); ++i)
        steps.push_back(timedStep(runner));
    std::sort(steps.begin(), steps.end());
    std::printf("hunting script, 1,000,000-line log: the first step %.2f ms, later steps %.3f ms "
                "(median of %zu), the slowest %.2f ms\n",
                first,
                steps[steps.size() / 2],
                steps.size(),
                steps.back());
    QElapsedTimer whole;
    whole.start();
    QElapsedTimer timer;
    timer.start();
    runner.continueRun();
    double longest = msSince(timer);
    while (runner.running()) {
        timer.restart();
        QCoreApplication::processEvents();
        longest = std::max(longest, msSince(timer));
    }
    std::printf("  Continue to the log's end: %.0f ms; the window answered within %.1f ms "
                "throughout\n",
                msSince(whole),
                longest);
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
    BenchWindow bench{Korveth::ProgramPaths(dir.path())};
    Korveth::MainWindow &window = bench.window;
    huntAgainstLongLog(window, dir);

    const QString log = dir.filePath(QStringLiteral("game.log"));
    if (!writeFile(log, gameLog(100000)))
        return 1;
    for (int lines : sizes) {
        const QString path = dir.filePath(QStringLiteral("s%1.cmd").arg(lines));
        if (!writeFile(path, realisticScript(lines)))
            return 1;
        Korveth::ScriptRunnerWindow &runner = openRunner(window, path, log);
        const double atOnce = timedStep(runner);
        runner.stopRun();
        // As a user does: the window opened, a look at the script, then F8. The program is made
        // meanwhile.
        QElapsedTimer pause;
        for (pause.start(); pause.elapsed() < 2000;)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::printf("realistic script of %d lines: the first step %.1f ms at once, %.1f ms after "
                    "two seconds\n",
                    lines,
                    atOnce,
                    timedStep(runner));
        runner.stopRun();
    }
    return 0;
}
