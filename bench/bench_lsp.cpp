// Times korveth-lsp's server in process, up to the bytes it sends: a keystroke in
// a 100,000-line script with about 11,800 mistakes, a rename with 449,000 references in a 10 MB
// script, didOpen and a keystroke in a 1,000,000-line script, a keystroke on an include line in
// a folder of 100,000 files, and a 50 MB script's memory.
//   bench_lsp [KORVETH_CHECK [PART]]   (given, didOpen is set beside korveth-check --format gcc;
//   PART 1-5 runs only that part, for a profiler)
#include "LspServer.h"
#include "Memory.h"
#include "ScriptGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Korveth;

namespace {

double medianMs(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// A server whose messages are serialized as the real one writes them; counts what it sent.
struct Session
{
    qsizetype bytesSent = 0;
    int published = 0;
    LspServer server{[this](const QByteArray &body) {
        bytesSent += body.size();
        published += body.contains("\"textDocument/publishDiagnostics\"");
    }};

    Session() { send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})"); }
    void send(const QByteArray &body) { server.handle(body); }
    void send(const QJsonObject &message)
    {
        server.handle(QJsonDocument(message).toJson(QJsonDocument::Compact));
    }
    // The server's time alone: the message is written before the clock starts, as a client
    // would have written it.
    double timed(const QJsonObject &message)
    {
        const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
        QElapsedTimer timer;
        timer.start();
        send(body);
        return double(timer.nsecsElapsed()) / 1e6;
    }
};

QJsonObject didOpen(const QString &uri, const QByteArray &text)
{
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/didOpen"},
            {"params",
             QJsonObject{
                 {"textDocument", QJsonObject{{"uri", uri}, {"text", QString::fromUtf8(text)}}}}}};
}

QJsonObject position(int line, int character)
{
    return {{"line", line}, {"character", character}};
}

// One character typed at (line, character), or taken away again.
QJsonObject keystroke(const QString &uri, int line, int character, bool typed)
{
    const QJsonObject range{{"start", position(line, character)},
                            {"end", position(line, character + (typed ? 0 : 1))}};
    return {{"jsonrpc", "2.0"},
            {"method", "textDocument/didChange"},
            {"params",
             QJsonObject{{"textDocument", QJsonObject{{"uri", uri}}},
                         {"contentChanges",
                          QJsonArray{QJsonObject{{"range", range}, {"text", typed ? "x" : ""}}}}}}};
}

double keystrokesMs(Session &session, const QString &uri, int line, int character)
{
    std::vector<double> samples;
    for (int i = 0; i < 20; ++i)
        samples.push_back(session.timed(keystroke(uri, line, character, i % 2 == 0)));
    return medianMs(samples);
}

// Twenty characters typed one after another, each making a new name.
double typingMs(Session &session, const QString &uri, int line, int character)
{
    std::vector<double> samples;
    for (int i = 0; i < 20; ++i)
        samples.push_back(session.timed(keystroke(uri, line, character + i, true)));
    return medianMs(samples);
}

// Every 8th or 9th line of a modern script is a misspelt command.
QByteArray scriptWithMistakes(int lines)
{
    QList<QByteArray> text = KorvethBench::modernScript(lines).split('\n');
    for (qsizetype i = 0; i < text.size(); i += (i % 2 ? 8 : 9))
        text[i] = "  puut x\r";
    return text.join('\n');
}

} // namespace

int main(int argc, char *argv[])
{
    const QString uri = QStringLiteral("file:///nowhere/bench.cmd");
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    auto runs = [only](int part) {
        return only == 0 || only == part;
    };
    if (runs(1)) {
        const QByteArray text = scriptWithMistakes(100000);
        // In the middle, on a put: a keystroke that changes no mistake.
        const qsizetype put = text.indexOf("\n  put ", text.size() / 2) + 1;
        const int line = int(text.first(put).count('\n'));
        Session session;
        session.send(didOpen(uri, text));
        const qsizetype before = session.bytesSent;
        const double ms = keystrokesMs(session, uri, line, 6);
        std::printf("100,000 lines with mistakes: a keystroke %.1f ms (median of 20), %.0f kB "
                    "sent per keystroke\n",
                    ms,
                    double(session.bytesSent - before) / 20 / 1024);
    }
    if (runs(2)) {
        QByteArray text;
        for (int i = 0; i < 449000; ++i)
            text += "goto target\r\nput x\r\n";
        text += "target:\r\n";
        Session session;
        session.send(didOpen(uri, text));
        QElapsedTimer timer;
        timer.start();
        session.send(QJsonObject{{"jsonrpc", "2.0"},
                                 {"id", 2},
                                 {"method", "textDocument/rename"},
                                 {"params",
                                  QJsonObject{{"textDocument", QJsonObject{{"uri", uri}}},
                                              {"position", position(0, 6)},
                                              {"newName", "begin"}}}});
        std::printf("rename, 449,000 references in %.1f MB: %.2f s\n",
                    double(text.size()) / 1e6,
                    double(timer.nsecsElapsed()) / 1e9);
    }
    if (runs(3)) {
        const QByteArray text = KorvethBench::modernScript(1000000);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("big.cmd")));
        const bool written = file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        file.close();
        // Three rounds, each a fresh server beside a fresh korveth-check run: the machine's load
        // moves both alike.
        for (int round = 0; round < 3; ++round) {
            Session session;
            const double open = session.timed(didOpen(uri, text));
            std::printf("1,000,000 lines: didOpen %.0f ms", open);
            if (round == 0)
                std::printf(", a keystroke %.1f ms", keystrokesMs(session, uri, 500000, 2));
            if (argc > 1 && written) {
                QElapsedTimer timer;
                timer.start();
                QProcess::execute(QString::fromLocal8Bit(argv[1]),
                                  {QStringLiteral("--dialect"),
                                   QStringLiteral("auto"),
                                   QStringLiteral("--format"),
                                   QStringLiteral("gcc"),
                                   file.fileName()});
                const double check = double(timer.nsecsElapsed()) / 1e6;
                std::printf("; korveth-check --format gcc %.0f ms (%.2fx)", check, open / check);
            }
            std::printf("\n");
        }
    }
    if (runs(4)) {
        QTemporaryDir dir;
        for (int i = 0; i < 100000; ++i)
            QFile(dir.filePath(QStringLiteral("f%1.cmd").arg(i))).open(QIODevice::WriteOnly);
        const QString inFolder
            = QUrl::fromLocalFile(dir.filePath(QStringLiteral("main.cmd"))).toString();
        Session session;
        session.send(didOpen(inFolder, "include f5\r\ngoto x\r\nx:\r\n"));
        std::printf("a keystroke on an include line among 100,000 files: %.1f ms\n",
                    typingMs(session, inFolder, 0, 10));
    }
    if (runs(5)) {
        const double before = KorvethBench::currentMegabytes();
        Session session;
        const QByteArray text = KorvethBench::modernScript(2350000);
        session.send(didOpen(uri, text));
        const double ms = keystrokesMs(session, uri, 1000000, 2);
        std::printf("%.0f MB script: %.0f MB in use after didOpen and keystrokes, a keystroke "
                    "%.1f ms\n",
                    double(text.size()) / 1e6,
                    KorvethBench::currentMegabytes() - before,
                    ms);
    }
    return 0;
}
