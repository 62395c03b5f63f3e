#include "DapServer.h"

#include "TextFile.h"
#include "TextLines.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace Korveth {

namespace {

constexpr int threadId = 1;

enum Scope { Arguments = 1, Variables, CounterAndSave, Globals, Matches };

QJsonObject variable(const QString &name, const QString &value)
{
    return {{"name", name}, {"value", value}, {"variablesReference", 0}};
}

} // namespace

// What a launch set up: the script ready to run, its game text, and the run.
struct DapServer::Session
{
    QString path;
    std::unique_ptr<ScriptLibrary> library;
    std::unique_ptr<RunProgram> program;
    std::unique_ptr<GameSource> source;
    std::unique_ptr<ScriptRunner> runner;
};

DapServer::DapServer(Sender send)
    : m_send(std::move(send))
{}

DapServer::~DapServer() = default;

void DapServer::respond(const QJsonObject &request,
                        bool success,
                        const QJsonObject &body,
                        const QString &message)
{
    QJsonObject response{{"seq", ++m_sequence},
                         {"type", "response"},
                         {"request_seq", request.value("seq")},
                         {"command", request.value("command")},
                         {"success", success}};
    if (!body.isEmpty())
        response.insert("body", body);
    if (!message.isEmpty())
        response.insert("message", message);
    m_send(QJsonDocument(response).toJson(QJsonDocument::Compact));
}

void DapServer::event(const QString &name, const QJsonObject &body)
{
    QJsonObject message{{"seq", ++m_sequence}, {"type", "event"}, {"event", name}};
    if (!body.isEmpty())
        message.insert("body", body);
    m_send(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

void DapServer::handle(const QByteArray &body)
{
    const QJsonObject request = QJsonDocument::fromJson(body).object();
    const QString command = request.value("command").toString();
    const QJsonObject arguments = request.value("arguments").toObject();
    if (request.value("type").toString() != u"request") {
        return; // nothing else is asked of an adapter
    } else if (command == u"initialize") {
        respond(request,
                true,
                {{"supportsConfigurationDoneRequest", true},
                 {"supportsTerminateRequest", true},
                 {"supportsSteppingGranularity", false}});
        event(QStringLiteral("initialized"));
    } else if (command == u"launch") {
        const QString problem = launch(arguments);
        respond(request, problem.isEmpty(), {}, problem);
    } else if (command == u"setBreakpoints") {
        respond(request, true, setBreakpoints(arguments));
    } else if (command == u"configurationDone") {
        respond(request, true);
        if (!m_session)
            return;
        if (m_stopOnEntry)
            tellStopped(QStringLiteral("entry"));
        else
            go(QStringLiteral("continue"));
    } else if (command == u"threads") {
        respond(request,
                true,
                {{"threads", QJsonArray{QJsonObject{{"id", threadId}, {"name", "script"}}}}});
    } else if (command == u"stackTrace") {
        respond(request, true, stackTrace());
    } else if (command == u"scopes") {
        QJsonArray scopes;
        const std::pair<int, const char *> named[] = {{Arguments, "Arguments"},
                                                      {Variables, "Variables"},
                                                      {CounterAndSave, "Counter and save"},
                                                      {Globals, "Globals"},
                                                      {Matches, "Pending matches"}};
        for (const auto &[reference, name] : named)
            scopes.append(QJsonObject{
                {"name", name}, {"variablesReference", reference}, {"expensive", false}});
        respond(request, true, {{"scopes", scopes}});
    } else if (command == u"variables") {
        respond(request, true, variables(arguments.value("variablesReference").toInt()));
    } else if (command == u"continue" || command == u"next" || command == u"stepIn"
               || command == u"stepOut") {
        if (!m_session) {
            respond(request, false, {}, QStringLiteral("Nothing is running."));
            return;
        }
        respond(request,
                true,
                command == u"continue" ? QJsonObject{{"allThreadsContinued", true}}
                                       : QJsonObject{});
        go(command);
    } else if (command == u"pause") {
        respond(request, true); // a run never goes on between requests
    } else if (command == u"disconnect" || command == u"terminate") {
        respond(request, true);
        if (command == u"terminate")
            event(QStringLiteral("terminated"));
        m_disconnected = command == u"disconnect";
    } else {
        respond(request, false, {}, QStringLiteral("%1 is not supported.").arg(command));
    }
}

QString DapServer::launch(const QJsonObject &arguments)
{
    auto session = std::make_unique<Session>();
    session->path = arguments.value("program").toString();
    const ReadResult script = readTextFile(session->path);
    if (session->path.isEmpty() || !script.error.isEmpty())
        return QStringLiteral("Cannot read the script \"%1\": %2")
            .arg(session->path,
                 script.error.isEmpty() ? QStringLiteral("no program given") : script.error);
    RunOptions options;
    for (const QJsonValue &argument : arguments.value("args").toArray())
        options.arguments.append(argument.toString());
    const QJsonObject globals = arguments.value("globals").toObject();
    for (auto it = globals.begin(); it != globals.end(); ++it)
        options.globals.insert(it.key(), it.value().toVariant().toString());
    const QString dialect = arguments.value("dialect").toString(QStringLiteral("auto"));
    options.dialect = dialectFor(dialect == u"classic"  ? DialectChoice::Classic
                                 : dialect == u"modern" ? DialectChoice::Modern
                                                        : DialectChoice::Auto,
                                 script.text.utf8);
    options.stopOnUnknown = arguments.value("onUnknown").toString() != u"continue";
    if (const QString log = arguments.value("log").toString(); !log.isEmpty()) {
        auto source = std::make_unique<LogSource>(log);
        if (!source->error().isEmpty())
            return QStringLiteral("Cannot read the log \"%1\": %2").arg(log, source->error());
        session->source = std::move(source);
    } else {
        session->source = std::make_unique<LineSource>();
    }
    const QString folder = QFileInfo(session->path).absolutePath();
    session->library = std::make_unique<ScriptLibrary>();
    session->program = std::make_unique<RunProgram>(
        decodeLargeUtf8(script.text.utf8),
        options.dialect,
        IncludeSearch(folder, session->library->libraryRootOf(folder)),
        session->library.get());
    session->runner = std::make_unique<ScriptRunner>(*session->program, options, *session->source);
    const RunProgram &program = *session->program;
    session->runner->onEvent = [this, &program](const RunEvent &e) {
        const RunProgram::Line &line = program.lines()[std::size_t(e.line)];
        const QString text = QStringLiteral("%1: %2").arg(line.line + 1).arg(runEventText(e));
        event(QStringLiteral("output"), {{"category", "stdout"}, {"output", text + u'\n'}});
    };
    m_stopOnEntry = arguments.value("stopOnEntry").toBool();
    m_session = std::move(session);
    return {};
}

QJsonObject DapServer::setBreakpoints(const QJsonObject &arguments)
{
    m_breakpoints.clear();
    QJsonArray answered;
    for (const QJsonValue &b : arguments.value("breakpoints").toArray()) {
        const int line = b.toObject().value("line").toInt();
        m_breakpoints.insert(line);
        answered.append(QJsonObject{{"verified", true}, {"line", line}});
    }
    return {{"breakpoints", answered}};
}

bool DapServer::atBreakpoint(int programLine) const
{
    const RunProgram::Line &line = m_session->program->lines()[std::size_t(programLine)];
    return line.inScript() && m_breakpoints.contains(line.line + 1);
}

void DapServer::tellStopped(const QString &reason)
{
    event(QStringLiteral("stopped"),
          {{"reason", reason}, {"threadId", threadId}, {"allThreadsStopped", true}});
}

void DapServer::go(const QString &how)
{
    ScriptRunner &runner = *m_session->runner;
    const auto depth = runner.callStack().size();
    const int lines = int(m_session->program->lines().size());
    auto stopsHere = [&] {
        return runner.currentLine() < lines && atBreakpoint(runner.currentLine());
    };
    ScriptRunner::Outcome outcome = runner.step();
    bool breakpoint = false;
    while (outcome == ScriptRunner::Outcome::Ran) {
        if (stopsHere()) {
            breakpoint = true;
            break;
        }
        const auto now = runner.callStack().size();
        const bool done = how == u"stepIn" || (how == u"next" && now <= depth)
                          || (how == u"stepOut" && now < depth);
        if (done)
            break;
        outcome = runner.step();
    }
    if (outcome == ScriptRunner::Outcome::Ran) {
        tellStopped(breakpoint ? QStringLiteral("breakpoint") : QStringLiteral("step"));
        return;
    }
    const RunFinding finding = runner.finding().value_or(RunFinding{});
    const RunProgram::Line &at = m_session->program->lines().empty()
                                     ? RunProgram::Line{}
                                     : m_session->program->lines()[std::size_t(finding.line)];
    event(QStringLiteral("output"),
          {{"category", finding.kind == RunFinding::Kind::Ended ? "console" : "stderr"},
           {"output",
            QStringLiteral("%1:%2: %3: %4\n")
                .arg(QFileInfo(m_session->path).fileName())
                .arg(at.line + 1)
                .arg(runFindingName(finding.kind), finding.text)}});
    event(QStringLiteral("exited"),
          {{"exitCode", finding.kind == RunFinding::Kind::Ended ? 0 : 1}});
    event(QStringLiteral("terminated"));
}

QJsonObject DapServer::stackTrace() const
{
    QJsonArray frames;
    if (m_session) {
        const ScriptRunner &runner = *m_session->runner;
        const auto &lines = m_session->program->lines();
        QList<int> stack = runner.callStack();
        stack.append(qMin(runner.currentLine(), int(lines.size()) - 1));
        for (qsizetype i = stack.size() - 1; i >= 0; --i) {
            if (stack[i] < 0)
                continue;
            const RunProgram::Line &line = lines[std::size_t(stack[i])];
            QJsonObject source{{"name",
                                line.inScript() ? QFileInfo(m_session->path).fileName()
                                                : m_session->program->fileOf(line)}};
            if (line.inScript())
                source.insert("path", m_session->path);
            frames.append(
                QJsonObject{{"id", int(i) + 1},
                            {"name",
                             i == stack.size() - 1 ? line.text().toString()
                                                   : QStringLiteral("gosub: %1").arg(line.text())},
                            {"source", source},
                            {"line", line.line + 1},
                            {"column", 1}});
        }
    }
    return {{"stackFrames", frames}, {"totalFrames", frames.size()}};
}

QJsonObject DapServer::variables(int reference) const
{
    QJsonArray found;
    if (m_session) {
        const ScriptRunner &runner = *m_session->runner;
        const RunValues &values = runner.values();
        switch (reference) {
        case Arguments:
            found.append(variable(QStringLiteral("%0"), values.arguments.join(u' ')));
            for (qsizetype i = 0; i < values.arguments.size() && i < 9; ++i)
                found.append(variable(QStringLiteral("%%1").arg(i + 1), values.arguments[i]));
            break;
        case Variables:
            for (auto it = values.variables.cbegin(); it != values.variables.cend(); ++it)
                found.append(variable(u'%' + it.key().toLower(), it.value()));
            break;
        case CounterAndSave:
            found.append(variable(QStringLiteral("%c"), numberText(values.counter)));
            found.append(variable(QStringLiteral("%s"), values.saved));
            break;
        case Globals:
            for (auto it = values.globals.cbegin(); it != values.globals.cend(); ++it)
                found.append(variable(u'$' + it.key().toLower(), it.value()));
            break;
        case Matches:
            for (const PendingMatch &match : runner.pendingMatches())
                found.append(variable(match.label().toString(), match.text().toString()));
            if (const QString waiting = runner.waitingFor(); !waiting.isEmpty())
                found.append(variable(QStringLiteral("waiting for"), waiting));
            break;
        default:
            break;
        }
    }
    return {{"variables", found}};
}

} // namespace Korveth
