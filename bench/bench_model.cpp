// Times the live script model on a generated 100,000-line modern script: a one-character edit and
// a paste of 1,000 lines, each the median of 50, and the first full check of the text; then the
// language server's answer to opening the same script.
//   bench_model [LINES] [first]   (first: stop after the first check, for a profiler)
#include "LspServer.h"
#include "ScriptGenerator.h"
#include "ScriptModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Korveth;

namespace {

double medianMs(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QByteArray script = KorvethBench::modernScript(lines);
    ScriptModel model(DialectChoice::Auto);
    QElapsedTimer timer;
    timer.start();
    model.update(script);
    std::printf("%d lines (%.1f MB): first check %.1f ms, %d mistakes\n",
                model.lineCount(),
                double(script.size()) / 1e6,
                double(timer.nsecsElapsed()) / 1e6,
                model.mistakeCount());
    if (argc > 2 && std::strcmp(argv[2], "first") == 0)
        return 0;

    // A character typed in the middle of a line and taken back out, fifty times.
    std::vector<double> typed;
    QByteArray text = script;
    const qsizetype middle = text.indexOf("put attack", text.size() / 2);
    for (int i = 0; i < 50; ++i) {
        text.insert(middle + 4, i % 2 ? "" : "x");
        if (i % 2)
            text.remove(middle + 4, 1);
        timer.restart();
        model.update(text);
        typed.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("one character typed: median %.2f ms (%d lines judged the last time)\n",
                medianMs(typed),
                model.lastJudgedCount());

    // 1,000 lines pasted in the middle and removed again.
    const QByteArray block = KorvethBench::modernScript(1000) + "\r\n";
    const qsizetype lineStart = text.indexOf("\r\n", text.size() / 3) + 2;
    std::vector<double> pasted;
    for (int i = 0; i < 50; ++i) {
        if (i % 2 == 0)
            text.insert(lineStart, block);
        else
            text.remove(lineStart, block.size());
        timer.restart();
        model.update(text);
        pasted.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("1,000 lines pasted or removed: median %.2f ms (%d lines judged the last time)\n",
                medianMs(pasted),
                model.lastJudgedCount());

    // The language server, in process: didOpen until its diagnostics are sent.
    int published = -1;
    LspServer server([&](const QByteArray &body) {
        const QJsonObject message = QJsonDocument::fromJson(body).object();
        if (message.value("method").toString() == u"textDocument/publishDiagnostics")
            published
                = int(message.value("params").toObject().value("diagnostics").toArray().size());
    });
    server.handle(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})");
    const QJsonObject open{{"jsonrpc", "2.0"},
                           {"method", "textDocument/didOpen"},
                           {"params",
                            QJsonObject{{"textDocument",
                                         QJsonObject{{"uri", "file:///tmp/bench.cmd"},
                                                     {"text", QString::fromUtf8(script)}}}}}};
    const QByteArray body = QJsonDocument(open).toJson(QJsonDocument::Compact);
    timer.restart();
    server.handle(body);
    std::printf("korveth-lsp: didOpen answered with %d diagnostics after %.1f ms\n",
                published,
                double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
