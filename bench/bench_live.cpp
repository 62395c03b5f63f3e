// Opening a generated 100,000-line modern script in the editor with mistakes shown as one types,
// against opening it with them switched off: the median of five openings each, from the call to
// the document shown; and with them on, until its mistakes are marked (the check runs on another
// thread once the rest timer fires, so this includes that wait).
//   bench_live [LINES]
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "EditorServices.h"
#include "FileStore.h"
#include "LiveDiagnostics.h"
#include "ScriptGenerator.h"
#include "ScriptedDialogs.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Opening
{
    double shownMs;
    double markedMs;
};

Opening openOnce(Korveth::MainWindow &window, const QString &path, bool live)
{
    QElapsedTimer timer;
    timer.start();
    Korveth::DocumentWindow *document = window.documents().OpenDocument(path, QStringLiteral("bench.cmd"));
    if (!document)
        std::exit(1);
    QSignalSpy marked(&document->live(), &Korveth::LiveDiagnostics::mistakesChanged);
    QApplication::processEvents();
    (void)document->grab();
    const Opening ms{double(timer.nsecsElapsed()) / 1e6,
                     live && marked.wait(10000) ? double(timer.nsecsElapsed()) / 1e6 : 0.0};
    document->document().setChanged(false);
    document->close();
    QApplication::processEvents();
    return ms;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.cmd"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(KorvethBench::modernScript(lines)) < 0)
        return 1;
    file.close();

    KorvethBench::BenchWindow bench(Korveth::ProgramPaths::ofRunningProgram());
    Korveth::EditorServices &editors = bench.editors;
    Korveth::MainWindow &window = bench.window;

    std::vector<double> off, on, marked;
    for (int i = 0; i < 5; ++i) {
        editors.liveCheck.setEnabled(false);
        off.push_back(openOnce(window, path, false).shownMs);
        editors.liveCheck.setEnabled(true);
        const Opening opening = openOnce(window, path, true);
        on.push_back(opening.shownMs);
        marked.push_back(opening.markedMs);
    }
    std::printf("%d lines: shown after %.0f ms without mistakes shown, %.0f ms with them (%+.0f%%);"
                " mistakes marked after %.0f ms (%d ms of it the rest before a check)\n",
                lines,
                median(off),
                median(on),
                100.0 * (median(on) - median(off)) / median(off),
                median(marked),
                Korveth::LiveDiagnostics::restMs);
    return 0;
}
