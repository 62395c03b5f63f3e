#include "DapServer.h"

#include "GlobalsFile.h"

#include "TextFile.h"
#include "TextLines.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace Korveth {

namespace {

constexpr int threadId = 1;

// A scope's variablesReference holds its frame too: frameId * scopesPerFrame + the scope.
enum Scope { Arguments = 1, Variables, CounterAndSave, Globals, Matches };
constexpr int scopesPerFrame = 8;

// Game lines a step may read before the clock is looked at: a line costs at most a few
// milliseconds (a pattern's limit), so a slice overruns its budget by little.
constexpr qint64 linesPerStep = 8;

// A file as breakpoints name it, the same however the path was written.
QString pathKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

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
    } else if (command == u"launch") {
        const QString problem = launch(arguments);
        respond(request, problem.isEmpty(), {}, problem);
        // Breakpoints come after this, when the run's files are known and can be checked.
        if (problem.isEmpty())
            event(QStringLiteral("initialized"));
    } else if (command == u"setBreakpoints") {
        respond(request, true, setBreakpoints(arguments));
    } else if (command == u"configurationDone") {
        respond(request, true);
        if (!m_session)
            return;
        if (m_stopOnEntry) {
            m_started = true; // shown before its first line: a breakpoint there is passed
            tellStopped(QStringLiteral("entry"));
        } else {
            go(QStringLiteral("continue"));
        }
    } else if (command == u"threads") {
        respond(request,
                true,
                {{"threads", QJsonArray{QJsonObject{{"id", threadId}, {"name", "script"}}}}});
    } else if (command == u"stackTrace") {
        respond(request, true, stackTrace());
    } else if (command == u"scopes") {
        respond(request, true, scopes(arguments.value("frameId").toInt()));
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
        respond(request, true);
        if (m_going) {
            m_going.reset();
            tellStopped(QStringLiteral("pause"));
        }
    } else if (command == u"disconnect" || command == u"terminate") {
        respond(request, true);
        m_going.reset();
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
    // A profile file first; the globals given one by one win over it.
    if (const QString file = arguments.value("globalsFile").toString(); !file.isEmpty()) {
        QString error;
        const auto profile = readGlobalsFile(file, &error);
        if (!profile)
            return QStringLiteral("Cannot read the globals \"%1\": %2").arg(file, error);
        options.globals = *profile;
    }
    const QJsonObject globals = arguments.value("globals").toObject();
    for (auto it = globals.begin(); it != globals.end(); ++it)
        options.globals.insert(it.key(), it.value().toVariant().toString());
    const QString dialect = arguments.value("dialect").toString(QStringLiteral("auto"));
    if (dialect != u"auto" && dialect != u"classic" && dialect != u"modern")
        return QStringLiteral("The dialect \"%1\" is not known: give auto, classic or modern.")
            .arg(dialect);
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
    m_fileKeys = {pathKey(session->path)};
    for (int file = 1; file < session->program->fileCount(); ++file)
        m_fileKeys.append(pathKey(session->program->pathOf(file)));
    m_session = std::move(session);
    m_going.reset();
    m_started = m_ended = false;
    return {};
}

QJsonObject DapServer::setBreakpoints(const QJsonObject &arguments)
{
    // One request a file, with all of that file's breakpoints: the other files' stay.
    const QString key = pathKey(arguments.value("source").toObject().value("path").toString());
    QSet<int> &lines = m_breakpoints[key];
    lines.clear();
    QJsonArray answered;
    for (const QJsonValue &b : arguments.value("breakpoints").toArray()) {
        const int line = b.toObject().value("line").toInt();
        lines.insert(line);
        answered.append(verify(key, line));
    }
    if (lines.isEmpty())
        m_breakpoints.remove(key);
    return {{"breakpoints", answered}};
}

QJsonObject DapServer::verify(const QString &key, int line) const
{
    const qsizetype file = m_session ? m_fileKeys.indexOf(key) : -1;
    const QString name = QFileInfo(key).fileName();
    QString problem;
    if (!m_session)
        problem = QStringLiteral("No script is running yet.");
    else if (file < 0)
        problem = QStringLiteral("%1 is not in this run: it is neither the script nor a script "
                                 "it includes.")
                      .arg(name);
    else if (const int count = m_session->program->lineCountOf(int(file)); line < 1 || line > count)
        problem = QStringLiteral("Line %1 is past the end of %2, which has %3 lines.")
                      .arg(line)
                      .arg(name)
                      .arg(count);
    QJsonObject answer{{"verified", problem.isEmpty()}, {"line", line}};
    if (!problem.isEmpty())
        answer.insert("message", problem);
    return answer;
}

bool DapServer::atBreakpoint(int programLine) const
{
    const RunProgram::Line &line = m_session->program->lines()[std::size_t(programLine)];
    const auto found = m_breakpoints.constFind(m_fileKeys.value(line.file));
    return found != m_breakpoints.constEnd() && found->contains(line.line + 1);
}

void DapServer::tellStopped(const QString &reason, const QString &text)
{
    QJsonObject body{{"reason", reason}, {"threadId", threadId}, {"allThreadsStopped", true}};
    if (!text.isEmpty()) {
        body.insert("description", text);
        body.insert("text", text);
    }
    event(QStringLiteral("stopped"), body);
}

void DapServer::go(const QString &how)
{
    if (m_ended) {
        tellEnded();
        return;
    }
    m_going = Going{how, m_session->runner->callStack().size()};
}

void DapServer::finishGoing()
{
    while (m_going)
        advance(std::chrono::milliseconds(50));
}

void DapServer::advance(std::chrono::milliseconds budget)
{
    if (!m_going)
        return;
    ScriptRunner &runner = *m_session->runner;
    const int lines = int(m_session->program->lines().size());
    auto stopsHere = [&] {
        return !runner.waiting() && runner.currentLine() < lines
               && atBreakpoint(runner.currentLine());
    };
    // A breakpoint on the line a run starts at is hit before that line runs.
    if (!std::exchange(m_started, true) && m_going->how == u"continue" && stopsHere())
        return stopped(true);
    const auto until = std::chrono::steady_clock::now() + budget;
    do {
        if (runner.step(linesPerStep) != ScriptRunner::Outcome::Ran)
            return stopped(false);
        if (runner.waiting())
            continue;
        if (stopsHere())
            return stopped(true);
        const QString &how = m_going->how;
        const auto now = runner.callStack().size();
        if (how == u"stepIn" || (how == u"next" && now <= m_going->depth)
            || (how == u"stepOut" && now < m_going->depth))
            return stopped(false);
    } while (std::chrono::steady_clock::now() < until);
}

void DapServer::stopped(bool breakpoint)
{
    m_going.reset();
    const ScriptRunner &runner = *m_session->runner;
    if (!runner.finding()) {
        tellStopped(breakpoint ? QStringLiteral("breakpoint") : QStringLiteral("step"));
        return;
    }
    const RunFinding &finding = *runner.finding();
    const RunProgram::Line &at = m_session->program->lines().empty()
                                     ? RunProgram::Line{}
                                     : m_session->program->lines()[std::size_t(finding.line)];
    const QString name
        = at.inScript() ? QFileInfo(m_session->path).fileName() : m_session->program->fileOf(at);
    event(QStringLiteral("output"),
          {{"category", finding.kind == RunFinding::Kind::Ended ? "console" : "stderr"},
           {"output",
            QStringLiteral("%1:%2: %3: %4\n")
                .arg(name)
                .arg(at.line + 1)
                .arg(runFindingName(finding.kind), finding.text)}});
    if (finding.kind == RunFinding::Kind::Ended)
        return tellEnded();
    // Stopped where it went wrong, with its values: the next request to go ends the session.
    m_ended = true;
    tellStopped(QStringLiteral("exception"),
                QStringLiteral("%1: %2").arg(runFindingName(finding.kind), finding.text));
}

void DapServer::tellEnded()
{
    const std::optional<RunFinding> &finding = m_session->runner->finding();
    event(QStringLiteral("exited"),
          {{"exitCode", finding && finding->kind == RunFinding::Kind::Ended ? 0 : 1}});
    event(QStringLiteral("terminated"));
}

int DapServer::shownLine() const
{
    const ScriptRunner &runner = *m_session->runner;
    if (runner.finding())
        return runner.finding()->line;
    return qMin(runner.lineShown(), int(m_session->program->lines().size()) - 1);
}

QJsonObject DapServer::stackTrace() const
{
    QJsonArray frames;
    if (m_session) {
        const ScriptRunner &runner = *m_session->runner;
        const auto &lines = m_session->program->lines();
        QList<int> stack = runner.callStack();
        stack.append(shownLine());
        for (qsizetype i = stack.size() - 1; i >= 0; --i) {
            if (stack[i] < 0)
                continue;
            const RunProgram::Line &line = lines[std::size_t(stack[i])];
            QJsonObject source{{"name",
                                line.inScript() ? QFileInfo(m_session->path).fileName()
                                                : m_session->program->fileOf(line)}};
            source.insert(
                "path", line.inScript() ? m_session->path : m_session->program->pathOf(line.file));
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

QJsonObject DapServer::scopes(int frameId) const
{
    QJsonArray scopes;
    const std::pair<int, const char *> named[] = {{Arguments, "Arguments"},
                                                  {Variables, "Variables"},
                                                  {CounterAndSave, "Counter and save"},
                                                  {Globals, "Globals"},
                                                  {Matches, "Pending matches"}};
    for (const auto &[scope, name] : named)
        scopes.append(QJsonObject{{"name", name},
                                  {"variablesReference", frameId * scopesPerFrame + scope},
                                  {"expensive", false}});
    return {{"scopes", scopes}};
}

QJsonObject DapServer::variables(int reference) const
{
    QJsonArray found;
    if (m_session) {
        const ScriptRunner &runner = *m_session->runner;
        const RunValues &values = runner.values();
        switch (reference % scopesPerFrame) {
        case Arguments: {
            // Frame ids count from 1 at the outermost frame.
            const QStringList &arguments = runner.argumentsAt(reference / scopesPerFrame - 1);
            found.append(variable(QStringLiteral("%0"), arguments.join(u' ')));
            for (qsizetype i = 0; i < arguments.size() && i < 9; ++i)
                found.append(variable(QStringLiteral("%%1").arg(i + 1), arguments[i]));
            break;
        }
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
