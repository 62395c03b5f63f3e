// Checker throughput: lines/s and MB/s over generated scripts, as the debugger runs them.
#include "CheckRun.h"
#include "ReportSink.h"
#include "ScriptChecker.h"
#include "ScriptGenerator.h"

#include <QString>

#include <benchmark/benchmark.h>

namespace {

// A report that counts what it is given, like a report box that is never drawn.
class CountingReport final : public Korveth::ReportSink
{
public:
    void appendText(QStringView text) override { characters += text.size(); }
    void appendLineBreak() override { characters += 2; }
    void setColor(Korveth::ReportColor) override {}
    qsizetype characters = 0;
};

void runOver(benchmark::State &state, const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    std::int64_t lines = 0;
    for (auto _ : state) {
        Korveth::ScriptChecker checker(text);
        CountingReport report;
        const Korveth::CheckSummary summary = Korveth::runCheck(text, checker, report);
        benchmark::DoNotOptimize(report.characters);
        lines = summary.lineCount;
    }
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["lines"] = double(lines);
}

void BM_RealisticScript(benchmark::State &state)
{
    runOver(state, KorvethBench::realisticScript(int(state.range(0))));
}

void BM_GotoStorm(benchmark::State &state)
{
    runOver(state, KorvethBench::gotoStorm(int(state.range(0))));
}

} // namespace

BENCHMARK(BM_RealisticScript)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GotoStorm)->Arg(200'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
