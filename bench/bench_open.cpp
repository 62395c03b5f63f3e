// Opening a large script in the editor: time until the document is shown and the caret moves to
// the last line, and the peak memory, against the file size.
//   bench_open FILE   (make one with: korveth-make-script realistic 2000000 FILE)
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "EditorServices.h"
#include "FileStore.h"
#include "Memory.h"
#include "ScriptLexer.h"
#include "ScriptedDialogs.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <ctime>

using KorvethBench::currentMegabytes;
using KorvethBench::peakMegabytes;

static double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: bench_open FILE\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const double fileMegabytes = double(QFileInfo(path).size()) / (1024.0 * 1024.0);

    KorvethBench::BenchWindow bench(Korveth::ProgramPaths::ofRunningProgram());
    Korveth::MainWindow &window = bench.window;
    const double before = currentMegabytes();

    QElapsedTimer timer;
    timer.start();
    Korveth::DocumentWindow *document = window.documents().OpenDocument(path, QFileInfo(path).fileName());
    if (!document) {
        std::fputs("could not open the file\n", stderr);
        return 1;
    }
    const double afterLoad = currentMegabytes();
    QApplication::processEvents();
    (void)document->grab(); // paint once, as the screen would
    const qint64 shownMs = timer.elapsed();
    const double afterShown = currentMegabytes();
    const double peakShown = peakMegabytes();
    const double cpuBeforeJump = cpuSeconds();
    document->editor()->setCaretPosition(document->editor()->linecount() - 1, 0);
    document->editor()->ensureCursorVisible();
    QApplication::processEvents();
    (void)document->grab();
    const qint64 caretMs = timer.elapsed();
    // What is shown at the end is coloured at once (the editor's mark of what is styled reaches
    // it); the lines the jump passed over are coloured while the editor is idle, the window
    // answering meanwhile.
    const long lastLineStart = document->editor()->SendScintilla(
        QsciScintillaBase::SCI_POSITIONFROMLINE, document->editor()->linecount() - 1);
    const bool shownColoured
        = document->editor()->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) >= lastLineStart;
    const double jumpCpu = cpuSeconds() - cpuBeforeJump;
    auto *lexer = qobject_cast<Korveth::ScriptLexer *>(document->editor()->lexer());
    qint64 longestStallMs = 0;
    while (lexer && lexer->colouringLater() && timer.elapsed() < 60000) {
        QElapsedTimer stall;
        stall.start();
        QApplication::processEvents();
        longestStallMs = qMax(longestStallMs, stall.elapsed());
    }
    const qint64 colouredMs = timer.elapsed();
    std::printf("Ctrl+End: %s coloured at once, %.0f ms of CPU for the jump; every line "
                "coloured %lld ms after the open began, the window never more than %lld ms "
                "without answering meanwhile\n",
                shownColoured ? "what is shown" : "NOT what is shown",
                jumpCpu * 1000,
                static_cast<long long>(colouredMs),
                static_cast<long long>(longestStallMs));

    const double peak = peakMegabytes();
    std::printf("file %.1f MB, %d lines\n", fileMegabytes, document->editor()->linecount());
    std::printf("shown after %lld ms, caret on the last line after %lld ms\n",
                static_cast<long long>(shownMs),
                static_cast<long long>(caretMs));
    std::printf(
        "memory before opening %.0f MB; after loading %.0f MB, after showing %.0f MB (peak so far "
        "%.0f MB: %.2f x the file size)\n",
        before,
        afterLoad,
        afterShown,
        peakShown,
        (peakShown - before) / fileMegabytes);
    std::printf("peak after the caret went to the end %.0f MB: %.2f x the file size\n",
                peak,
                (peak - before) / fileMegabytes);
    document->document().setChanged(false);
    return 0;
}
