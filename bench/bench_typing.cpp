// Typing in the editor: the cost of one key at the end, the start and the middle of a 30-line, a
// 5 MB and a 50 MB script, each key followed by the repaint a screen would get. Per key: typing
// a letter, Backspace, a caret move, a selection grown by Shift+Left, Undo and Redo. Prints the
// median milliseconds per key of each, and the peak memory.
//   bench_typing [MEGABYTES...]   (default 5 50)
#include "BenchWindow.h"
#include "DocumentManager.h"
#include "Memory.h"
#include "ScriptGenerator.h"
#include "MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int typedKeys = 200;
constexpr int otherKeys = 50;
// About what a generated line takes.
constexpr double bytesPerLine = 22.3;

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time of one key, with the events it causes handled and the editor repainted; what
// comes before each key (prepare) is not timed.
double perKey(
    Korveth::ScriptEditor &editor,
    int keys,
    const std::function<void()> &press,
    const std::function<void()> &prepare = [] {})
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < keys; ++i) {
        prepare();
        QApplication::processEvents();
        timer.start();
        press();
        QApplication::processEvents();
        editor.viewport()->repaint();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return medianMs(ms);
}

struct Row
{
    QString name;
    double typeEnd, typeStart, typeMiddle, backspace, move, select, undo, redo;
};

Row measure(Korveth::MainWindow &window, const QString &path, const QString &name)
{
    Korveth::DocumentWindow *document = window.documents().OpenDocument(path, QStringLiteral("bench.cmd"));
    if (!document)
        std::exit(1);
    Korveth::ScriptEditor &editor = *document->editor();
    editor.setFocus();
    QApplication::processEvents();
    auto key = [&editor](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [&editor, k, m] {
            QTest::keyClick(&editor, k, m);
        };
    };
    const int last = editor.linecount() - 1;
    auto typeAt = [&](int line) {
        editor.setCaretPosition(line, 0);
        editor.ensureLineVisible(line);
        return perKey(editor, typedKeys, key(Qt::Key_A));
    };
    Row row{name, typeAt(last), typeAt(0), typeAt(last / 2), 0, 0, 0, 0, 0};
    editor.setCaretPosition(last, 1000);
    editor.ensureLineVisible(last);
    row.backspace = perKey(editor, otherKeys, key(Qt::Key_Backspace));
    row.move = perKey(editor, otherKeys, key(Qt::Key_Left));
    row.select = perKey(editor, otherKeys, key(Qt::Key_Left, Qt::ShiftModifier));
    // Each undo takes back a word typed just before it; each redo puts back one just taken back.
    auto typeWord = [&editor] {
        QTest::keyClicks(&editor, QStringLiteral(" word"));
    };
    const auto undo = key(Qt::Key_Z, Qt::ControlModifier);
    row.undo = perKey(editor, otherKeys, undo, typeWord);
    row.redo = perKey(editor, otherKeys, key(Qt::Key_Y, Qt::ControlModifier), [&] {
        typeWord();
        undo();
    });
    document->document().setChanged(false);
    document->close();
    QApplication::processEvents();
    return row;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::vector<double> megabytes;
    for (int i = 1; i < argc; ++i)
        megabytes.push_back(std::atof(argv[i]));
    if (megabytes.empty())
        megabytes = {5, 50};

    QTemporaryDir dir;
    auto write = [&dir](int lines) {
        const QString path = dir.filePath(QStringLiteral("%1.cmd").arg(lines));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(KorvethBench::realisticScript(lines)) < 0)
            std::exit(1);
        return path;
    };

    KorvethBench::BenchWindow bench(Korveth::ProgramPaths::ofRunningProgram());
    std::vector<Row> rows{measure(bench.window, write(30), QStringLiteral("30 lines"))};
    for (double mb : megabytes) {
        const int lines = int(mb * 1024 * 1024 / bytesPerLine);
        rows.push_back(measure(
            bench.window, write(lines), QStringLiteral("%1 MB (%2 lines)").arg(mb).arg(lines)));
    }

    std::printf("median ms per key, each key repainted\n");
    std::printf("%-24s %8s %8s %8s %9s %8s %8s %8s %8s\n",
                "script",
                "type end",
                "start",
                "middle",
                "backspace",
                "left",
                "shift+l",
                "undo",
                "redo");
    for (const Row &r : rows)
        std::printf("%-24s %8.2f %8.2f %8.2f %9.2f %8.2f %8.2f %8.2f %8.2f\n",
                    qPrintable(r.name),
                    r.typeEnd,
                    r.typeStart,
                    r.typeMiddle,
                    r.backspace,
                    r.move,
                    r.select,
                    r.undo,
                    r.redo);
    std::printf("peak memory %.0f MB\n", KorvethBench::peakMegabytes());
    return 0;
}
