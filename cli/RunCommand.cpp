#include "RunCommand.h"

#include "GlobalsFile.h"

#include "JsonText.h"
#include "Output.h"
#include "ScriptRunner.h"
#include "TextFile.h"
#include "TextLines.h"

#include <QFileInfo>

#include <memory>

namespace Korveth {

namespace {

void printUsage(std::FILE *to)
{
    std::fputs(
        "usage: korveth-run [--dialect classic|modern|auto] [--log FILE] "
        "[--globals FILE] [--var NAME=VALUE]... [--max-steps N] [--on-unknown stop|continue] "
        "[--format text|json] [--quiet] SCRIPT [ARG...]\n"
        "Runs SCRIPT against the game lines of FILE (none without --log), never the game,\n"
        "and prints what it did (with --quiet, only why it stopped). Exit status: 0 the "
        "script ended, 1 a finding, 2 bad "
        "input.\n",
        to);
}

struct Request
{
    QString dialect = QStringLiteral("auto");
    QString log;
    QString script;
    QString format = QStringLiteral("text");
    QString globals;    // a profile file of NAME=VALUE lines; --var wins over it
    bool quiet = false; // the findings alone
    RunOptions options;
};

// The request, or the message that says why there is none.
std::optional<Request> parse(const QList<QByteArray> &raw, QString &problem, bool &help)
{
    Request request;
    QStringList args;
    for (const QByteArray &a : raw)
        args.append(QString::fromLocal8Bit(a));
    auto value = [&](qsizetype &i, QStringView name) -> std::optional<QString> {
        const QString &arg = args[i];
        if (arg.startsWith(name.toString() + u'='))
            return arg.sliced(name.size() + 1);
        if (i + 1 < args.size())
            return args[++i];
        problem = QStringLiteral("%1 needs a value").arg(name.toString());
        return std::nullopt;
    };
    auto is = [&](qsizetype i, QStringView name) {
        return args[i] == name || args[i].startsWith(name.toString() + u'=');
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!request.script.isEmpty()) {
            request.options.arguments.append(args[i]);
            continue;
        }
        std::optional<QString> v;
        if (args[i] == u"--help" || args[i] == u"-h") {
            help = true;
            return std::nullopt;
        } else if (args[i] == u"--quiet" || args[i] == u"-q") {
            request.quiet = true;
        } else if (is(i, u"--dialect")) {
            if (!(v = value(i, u"--dialect")))
                return std::nullopt;
            request.dialect = *v;
        } else if (is(i, u"--log")) {
            if (!(v = value(i, u"--log")))
                return std::nullopt;
            request.log = *v;
        } else if (is(i, u"--format")) {
            if (!(v = value(i, u"--format")))
                return std::nullopt;
            request.format = *v;
        } else if (is(i, u"--var")) {
            if (!(v = value(i, u"--var")))
                return std::nullopt;
            const qsizetype equals = v->indexOf(u'=');
            if (equals <= 0) {
                problem = QStringLiteral("--var needs NAME=VALUE, not \"%1\"").arg(*v);
                return std::nullopt;
            }
            QString name = v->first(equals);
            if (name.startsWith(u'$'))
                name.remove(0, 1);
            request.options.globals.insert(name, v->sliced(equals + 1));
        } else if (is(i, u"--globals")) {
            if (!(v = value(i, u"--globals")))
                return std::nullopt;
            request.globals = *v;
        } else if (is(i, u"--max-steps")) {
            if (!(v = value(i, u"--max-steps")))
                return std::nullopt;
            bool ok = false;
            request.options.maxSteps = v->toLongLong(&ok);
            if (!ok || request.options.maxSteps <= 0) {
                problem = QStringLiteral("--max-steps needs a number above 0");
                return std::nullopt;
            }
        } else if (is(i, u"--on-unknown")) {
            if (!(v = value(i, u"--on-unknown")))
                return std::nullopt;
            if (*v != u"stop" && *v != u"continue") {
                problem = QStringLiteral("--on-unknown is stop or continue");
                return std::nullopt;
            }
            request.options.stopOnUnknown = *v == u"stop";
        } else if (args[i].startsWith(u"--")) {
            problem = QStringLiteral("unknown option '%1'").arg(args[i]);
            return std::nullopt;
        } else {
            request.script = args[i];
        }
    }
    if (request.script.isEmpty())
        problem = QStringLiteral("no SCRIPT given");
    else if (request.dialect != u"auto" && request.dialect != u"classic"
             && request.dialect != u"modern")
        problem = QStringLiteral("--dialect is classic, modern or auto");
    else if (request.format != u"text" && request.format != u"json")
        problem = QStringLiteral("--format is text or json");
    if (!problem.isEmpty())
        return std::nullopt;
    return request;
}

} // namespace

int runRunCommand(const QList<QByteArray> &arguments, std::FILE *out, std::FILE *err)
{
    QString problem;
    bool help = false;
    const std::optional<Request> request = parse(arguments, problem, help);
    if (help) {
        printUsage(out);
        return 0;
    }
    if (!request) {
        std::fprintf(err, "korveth-run: %s\n", qPrintable(problem));
        printUsage(err);
        return 2;
    }
    const ReadResult script = readTextFile(request->script);
    if (!script.error.isEmpty()) {
        std::fprintf(err,
                     "korveth-run: cannot read '%s': %s\n",
                     qPrintable(request->script),
                     qPrintable(script.error));
        return 2;
    }
    std::unique_ptr<GameSource> source;
    if (request->log.isEmpty()) {
        source = std::make_unique<LineSource>();
    } else {
        auto log = std::make_unique<LogSource>(request->log);
        if (!log->error().isEmpty()) {
            std::fprintf(err,
                         "korveth-run: cannot read the log '%s': %s\n",
                         qPrintable(request->log),
                         qPrintable(log->error()));
            return 2;
        }
        source = std::move(log);
    }
    RunOptions options = request->options;
    if (!request->globals.isEmpty()) {
        QString error;
        auto profile = readGlobalsFile(request->globals, &error);
        if (!profile) {
            std::fprintf(err,
                         "korveth-run: cannot read the globals '%s': %s\n",
                         qPrintable(request->globals),
                         qPrintable(error));
            return 2;
        }
        profile->insert(options.globals); // --var wins
        options.globals = std::move(*profile);
    }
    options.dialect = dialectFor(request->dialect == u"classic"  ? DialectChoice::Classic
                                 : request->dialect == u"modern" ? DialectChoice::Modern
                                                                 : DialectChoice::Auto,
                                 script.text.utf8);
    const QString folder = QFileInfo(request->script).absolutePath();
    ScriptLibrary library;
    const RunProgram program(decodeLargeUtf8(script.text.utf8),
                             options.dialect,
                             IncludeSearch(folder, library.libraryRootOf(folder)),
                             &library);
    ScriptRunner runner(program, options, *source);

    const QString scriptName = QFileInfo(request->script).fileName();
    auto where = [&](int at) {
        const RunProgram::Line &line = program.lines()[std::size_t(at)];
        return QStringLiteral("%1:%2")
            .arg(line.inScript() ? scriptName : program.fileOf(line))
            .arg(line.line + 1);
    };
    Output output(out);
    const bool json = request->format == u"json";
    JsonText events;
    bool firstEvent = true;
    if (!request->quiet)
        runner.onEvent = [&](const RunEvent &event) {
            const RunProgram::Line &line = program.lines()[std::size_t(event.line)];
            if (json) {
                events.raw(firstEvent ? "\n  {\"file\":" : ",\n  {\"file\":")
                    .string(line.inScript() ? scriptName : program.fileOf(line))
                    .raw(",\"line\":")
                    .number(line.line + 1)
                    .raw(",\"command\":")
                    .string(line.text())
                    .raw(",\"event\":")
                    .string(runEventName(event.kind))
                    .raw(",\"text\":")
                    .string(event.text)
                    .raw(",\"logLine\":")
                    .number(event.logLine)
                    .raw("}");
                firstEvent = false;
                if (events.bytes().size() > (1 << 20))
                    output.writeUtf8(events.take());
                return;
            }
            output.write(QStringLiteral("%1: %2 -> %3\n")
                             .arg(where(event.line), line.text(), runEventText(event)));
        };
    if (json)
        output.write(u"{\"events\":[");
    runner.run();
    const RunFinding finding = runner.finding().value_or(RunFinding{});
    QList<RunFinding> findings = runner.notes();
    findings.append(finding);
    if (json) {
        output.writeUtf8(events.take());
        JsonText tail;
        tail.raw("\n],\"findings\":[");
        for (qsizetype i = 0; i < findings.size(); ++i) {
            const RunProgram::Line &line = program.lines().empty()
                                               ? RunProgram::Line{}
                                               : program.lines()[std::size_t(findings[i].line)];
            tail.raw(i ? ",\n  {\"file\":" : "\n  {\"file\":")
                .string(line.inScript() ? scriptName : program.fileOf(line))
                .raw(",\"line\":")
                .number(line.line + 1)
                .raw(",\"kind\":")
                .string(runFindingName(findings[i].kind))
                .raw(",\"text\":")
                .string(findings[i].text)
                .raw("}");
        }
        tail.raw("\n],\"steps\":").number(runner.steps()).raw("}\n");
        output.writeUtf8(tail.take());
    } else {
        for (const RunFinding &f : std::as_const(findings)) {
            output.write(QStringLiteral("%1: %2: %3\n")
                             .arg(program.lines().empty() ? scriptName + QStringLiteral(":1")
                                                          : where(f.line),
                                  runFindingName(f.kind),
                                  f.text));
        }
    }
    if (const QString failure = output.finish(); !failure.isEmpty()) {
        std::fprintf(err, "korveth-run: cannot write the output: %s\n", qPrintable(failure));
        return 2;
    }
    // A run the user let go on past what it could not know still reports it.
    return finding.kind == RunFinding::Kind::Ended && runner.notes().isEmpty() ? 0 : 1;
}

} // namespace Korveth
