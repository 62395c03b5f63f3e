#include "LspServer.h"

#include "Completion.h"
#include "JsonText.h"
#include "LabelReferences.h"
#include "LibraryReferences.h"
#include "ScriptLanguage.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include <algorithm>

namespace Korveth {

namespace {

// JSON-RPC and protocol error codes.
constexpr int parseError = -32700;
constexpr int invalidRequest = -32600;
constexpr int methodNotFound = -32601;
constexpr int invalidParams = -32602;
constexpr int serverNotInitialized = -32002;

QJsonObject position(int line, qsizetype column)
{
    return {{"line", line}, {"character", int(column)}};
}

QJsonObject range(int line, qsizetype column, qsizetype length)
{
    return {{"start", position(line, column)}, {"end", position(line, column + length)}};
}

void writeRange(JsonText &json, int line, qsizetype column, qsizetype length)
{
    json.raw("{\"start\":{\"line\":")
        .number(line)
        .raw(",\"character\":")
        .number(column)
        .raw("},\"end\":{\"line\":")
        .number(line)
        .raw(",\"character\":")
        .number(column + length)
        .raw("}}");
}

QJsonObject location(const QString &uri, int line, qsizetype column, qsizetype length)
{
    return {{"uri", uri}, {"range", range(line, column, length)}};
}

QString localPathOf(const QString &uri)
{
    const QUrl url(uri);
    return url.isLocalFile() ? QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath())
                             : QString();
}

} // namespace

LspServer::LspServer(Sender send)
    : m_send(std::move(send))
{}

void LspServer::send(const QJsonObject &message)
{
    m_send(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

void LspServer::error(const QJsonValue &id, int code, const QString &message)
{
    send({{"jsonrpc", "2.0"},
          {"id", id},
          {"error", QJsonObject{{"code", code}, {"message", message}}}});
}

void LspServer::badHeader()
{
    error(
        QJsonValue::Null, parseError, QStringLiteral("A header without a usable Content-Length."));
}

void LspServer::handle(const QByteArray &body)
{
    QJsonParseError parse;
    const QJsonDocument json = QJsonDocument::fromJson(body, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error(QJsonValue::Null, parseError, parse.errorString());
        return;
    }
    if (!json.isObject() || !json.object().value("method").isString()) {
        const QJsonValue id = json.isObject() ? json.object().value("id") : QJsonValue();
        // A response from the client to a request we never made needs no answer.
        if (json.isObject()
            && (json.object().contains("result") || json.object().contains("error")))
            return;
        error(id.isUndefined() ? QJsonValue(QJsonValue::Null) : id,
              invalidRequest,
              QStringLiteral("Not a request or notification."));
        return;
    }
    const QJsonObject message = json.object();
    const QString method = message.value("method").toString();
    const QJsonObject params = message.value("params").toObject();
    if (!message.contains("id")) {
        notify(method, params);
        return;
    }
    const QJsonValue id = message.value("id");
    if (!id.isString() && !id.isDouble()) {
        error(QJsonValue::Null,
              invalidRequest,
              QStringLiteral("The id must be a number or a string."));
        return;
    }
    if (!m_initialized && method != u"initialize") {
        error(id, serverNotInitialized, QStringLiteral("The server is not initialized yet."));
        return;
    }
    if (m_shutdown) {
        error(id, invalidRequest, QStringLiteral("The server has been shut down."));
        return;
    }
    bool handled = true;
    const QJsonValue result = respond(method, params, handled);
    if (!handled) {
        if (!m_renameError.isEmpty()) {
            error(id, invalidParams, std::exchange(m_renameError, {}));
            return;
        }
        error(id, methodNotFound, QStringLiteral("Unknown method: ") + method);
        return;
    }
    if (!m_rawResult.isEmpty()) {
        JsonText json;
        json.raw("{\"jsonrpc\":\"2.0\",\"id\":");
        if (id.isString())
            json.string(id.toString());
        else
            json.raw(QByteArray::number(id.toDouble(), 'g', 17));
        json.raw(",\"result\":").raw(std::exchange(m_rawResult, {})).raw("}");
        m_send(json.take());
        return;
    }
    send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

QJsonValue LspServer::respond(const QString &method, const QJsonObject &params, bool &handled)
{
    if (method == u"initialize")
        return initialize(params);
    if (method == u"shutdown") {
        m_shutdown = true;
        return QJsonValue::Null;
    }
    if (method == u"textDocument/definition")
        return definition(params);
    if (method == u"textDocument/references")
        return references(params);
    if (method == u"textDocument/documentSymbol")
        return documentSymbols(params);
    if (method == u"textDocument/completion")
        return completion(params);
    if (method == u"textDocument/rename")
        return rename(params, handled);
    handled = false;
    return {};
}

QJsonValue LspServer::initialize(const QJsonObject &params)
{
    m_initialized = true;
    const QString dialect
        = params.value("initializationOptions").toObject().value("dialect").toString();
    m_dialect = dialect == u"classic"  ? DialectChoice::Classic
                : dialect == u"modern" ? DialectChoice::Modern
                                       : DialectChoice::Auto;
    // The workspace's folders are the libraries' roots.
    for (const QJsonValue &folder : params.value("workspaceFolders").toArray()) {
        if (const QString path = localPathOf(folder.toObject().value("uri").toString());
            !path.isEmpty())
            m_workspaceFolders.append(path);
    }
    if (m_workspaceFolders.isEmpty()) {
        const QString root = params.value("rootUri").isString()
                                 ? localPathOf(params.value("rootUri").toString())
                                 : params.value("rootPath").toString();
        if (!root.isEmpty())
            m_workspaceFolders.append(QDir::cleanPath(root));
    }
    const QJsonObject capabilities{
        {"textDocumentSync", QJsonObject{{"openClose", true}, {"change", 2}, {"save", true}}},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"documentSymbolProvider", true},
        {"renameProvider", true},
        {"completionProvider", QJsonObject{}},
    };
    return QJsonObject{
        {"capabilities", capabilities},
        {"serverInfo", QJsonObject{{"name", "korveth-lsp"}, {"version", KORVETH_VERSION}}}};
}

void LspServer::notify(const QString &method, const QJsonObject &params)
{
    if (method == u"exit") {
        m_exit = true;
        return;
    }
    if (!m_initialized || m_shutdown)
        return; // before initialize or after shutdown, only exit counts
    const QJsonObject textDocument = params.value("textDocument").toObject();
    const QString uri = textDocument.value("uri").toString();
    if (method == u"initialized") {
        // Told of scripts changed on disk, where the client can watch files for us.
        send({{"jsonrpc", "2.0"},
              {"id", "watch"},
              {"method", "client/registerCapability"},
              {"params",
               QJsonObject{
                   {"registrations",
                    QJsonArray{QJsonObject{
                        {"id", "korveth-scripts"},
                        {"method", "workspace/didChangeWatchedFiles"},
                        {"registerOptions",
                         QJsonObject{{"watchers",
                                      QJsonArray{QJsonObject{
                                          {"globPattern", "**/*.{cmd,wiz,CMD,WIZ}"}}}}}}}}}}}});
    } else if (method == u"workspace/didChangeWatchedFiles" || method == u"textDocument/didSave") {
        refreshOthers({});
    } else if (method == u"textDocument/didOpen" && !uri.isEmpty()) {
        auto document = std::make_shared<LspDocument>(
            textDocument.value("text").toString(), m_dialect, searchFor(uri), &m_library);
        m_documents.insert(uri, document);
        if (const QString path = localPathOf(uri); !path.isEmpty()) {
            // Its text, not its file, is what the scripts including it include now.
            std::weak_ptr<LspDocument> open = document;
            m_library.setOpenSource(path, [open] {
                const auto alive = open.lock();
                return alive ? alive->utf8() : QByteArray();
            });
        }
        m_published.remove(uri);
        publish(uri);
        refreshOthers(uri);
    } else if (method == u"textDocument/didChange") {
        LspDocument *doc = document(params);
        if (!doc)
            return; // a change to a document never opened: nothing to change
        for (const QJsonValue &change : params.value("contentChanges").toArray()) {
            const QJsonObject c = change.toObject();
            const QString text = c.value("text").toString();
            if (!c.contains("range")) {
                doc->setText(text);
                continue;
            }
            const QJsonObject start = c.value("range").toObject().value("start").toObject();
            const QJsonObject end = c.value("range").toObject().value("end").toObject();
            doc->replace(start.value("line").toInt(),
                         start.value("character").toInt(),
                         end.value("line").toInt(),
                         end.value("character").toInt(),
                         text);
        }
        publish(uri);
        if (const QString path = localPathOf(uri); !path.isEmpty())
            m_library.changed(path);
        refreshOthers(uri);
    } else if (method == u"textDocument/didClose" && m_documents.remove(uri)) {
        m_published.remove(uri);
        m_toldTooLarge.remove(uri);
        sendDiagnostics(uri, {});
        if (const QString path = localPathOf(uri); !path.isEmpty()) {
            m_library.closeText(path); // its file stands for it again
            refreshOthers(uri);
        }
    }
}

IncludeSearch LspServer::searchFor(const QString &uri)
{
    const QString path = localPathOf(uri);
    if (path.isEmpty())
        return {};
    const QString folder = QFileInfo(path).path();
    QString root;
    for (const QString &workspace : m_workspaceFolders) {
        if ((folder == workspace || folder.startsWith(workspace + u'/'))
            && workspace.size() > root.size())
            root = workspace;
    }
    return {folder, root.isEmpty() ? m_library.libraryRootOf(folder) : root};
}

void LspServer::refreshOthers(const QString &changedUri)
{
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        if (it.key() == changedUri)
            continue;
        if (ScriptModel *model = it.value()->model(); model && model->refreshIncludes())
            publish(it.key());
    }
}

LspDocument *LspServer::document(const QJsonObject &params)
{
    const QString uri = params.value("textDocument").toObject().value("uri").toString();
    const auto found = m_documents.constFind(uri);
    return found == m_documents.constEnd() ? nullptr : found->get();
}

// Sent only when they differ from what the client already shows: a keystroke that changes no
// mistake costs the client nothing.
void LspServer::publish(const QString &uri)
{
    LspDocument &document = *m_documents.value(uri);
    ScriptModel *model = document.model();
    if (!model && !m_toldTooLarge.contains(uri)) {
        m_toldTooLarge.insert(uri);
        send({{"jsonrpc", "2.0"},
              {"method", "window/showMessage"},
              {"params",
               QJsonObject{{"type", 2},
                           {"message",
                            QStringLiteral("%1 is too large to check as you type (over %2 "
                                           "million characters); korveth-check checks it whole.")
                                .arg(QUrl(uri).fileName())
                                .arg(LspDocument::maxCharacters / (1024 * 1024))}}}});
    } else if (model) {
        m_toldTooLarge.remove(uri);
    }
    QList<Diagnostic> diagnostics = model ? model->diagnostics() : QList<Diagnostic>();
    const auto last = m_published.constFind(uri);
    if (last != m_published.constEnd() && *last == diagnostics)
        return;
    sendDiagnostics(uri, diagnostics);
    m_published.insert(uri, std::move(diagnostics));
}

void LspServer::sendDiagnostics(const QString &uri, const QList<Diagnostic> &diagnostics)
{
    JsonText json;
    json.raw("{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\",\"params\":{"
             "\"uri\":")
        .string(uri)
        .raw(",\"diagnostics\":[");
    for (qsizetype i = 0; i < diagnostics.size(); ++i) {
        const Diagnostic &d = diagnostics[i];
        json.raw(i == 0 ? "{\"range\":" : ",{\"range\":");
        writeRange(json, d.line, d.column, d.length);
        json.raw(",\"severity\":2,\"source\":\"korveth\",\"code\":")
            .string(mistakeRule(d.kind))
            .raw(",\"message\":")
            .string(d.message())
            .raw("}");
    }
    json.raw("]}}");
    m_send(json.take());
}

LspServer::Target LspServer::target(const QJsonObject &params)
{
    LspDocument *doc = document(params);
    ScriptModel *model = doc ? doc->model() : nullptr;
    if (!model)
        return {};
    const QJsonObject at = params.value("position").toObject();
    return {model,
            params.value("textDocument").toObject().value("uri").toString(),
            model->labelAt(at.value("line").toInt(), at.value("character").toInt())};
}

// In this script, or in the included script that defines the label.
QJsonValue LspServer::definition(const QJsonObject &params)
{
    const Target t = target(params);
    if (!t.model || t.label.isEmpty())
        return QJsonValue::Null;
    if (const auto found = t.model->definitionOf(t.label))
        return location(t.uri, found->line, found->column, found->name.size());
    if (const auto included = t.model->includedDefinitionOf(t.label))
        return location(QUrl::fromLocalFile(included->path).toString(),
                        included->line,
                        included->column,
                        included->name.size());
    return QJsonValue::Null;
}

// Where the label stands, definitions included: across the library when one of its scripts
// defines the label (that one and every script including it), else in this script alone.
QList<LabelPlace> LspServer::labelPlaces(const Target &t, bool *nameTaken, const QString &newName)
{
    if (const QString path = localPathOf(t.uri); !path.isEmpty()) {
        QStringList open;
        for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it)
            open.append(localPathOf(it.key()));
        LibraryReferences library(m_library, searchFor(t.uri).root, open);
        if (const QString defining = library.definingScript(path, t.label); !defining.isEmpty()) {
            if (nameTaken)
                *nameTaken = library.nameTaken(defining, t.label, newName);
            return library.placesOf(defining, t.label);
        }
    }
    if (nameTaken)
        *nameTaken = upperCased(newName) != upperCased(t.label)
                     && (t.model->definitionOf(newName) || t.model->includedDefinitionOf(newName));
    QList<LabelPlace> places;
    for (const Diagnostic &d : t.model->renameRanges(t.label)) {
        const auto defined = labelDefinition(t.model->lineText(d.line));
        places.append({{}, d.line, d.column, d.length, defined && defined->column == d.column, {}});
    }
    return places;
}

// The URI a client knows a script by: the one it opened it with, else its file's.
QString LspServer::uriOf(const QString &path, const QString &fallback) const
{
    if (path.isEmpty())
        return fallback;
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        if (localPathOf(it.key()) == path)
            return it.key();
    }
    return QUrl::fromLocalFile(path).toString();
}

QJsonValue LspServer::references(const QJsonObject &params)
{
    const Target t = target(params);
    if (!t.model)
        return QJsonValue::Null;
    if (t.label.isEmpty())
        return QJsonArray();
    const bool withDefinitions
        = params.value("context").toObject().value("includeDeclaration").toBool();
    JsonText json;
    json.raw("[");
    bool first = true;
    for (const LabelPlace &place : labelPlaces(t)) {
        if (place.definition && !withDefinitions)
            continue;
        json.raw(first ? "{\"uri\":" : ",{\"uri\":")
            .string(uriOf(place.path, t.uri))
            .raw(",\"range\":");
        writeRange(json, place.line, place.column, place.length);
        json.raw("}");
        first = false;
    }
    m_rawResult = json.raw("]").take();
    return {};
}

QJsonValue LspServer::documentSymbols(const QJsonObject &params)
{
    LspDocument *doc = document(params);
    ScriptModel *model = doc ? doc->model() : nullptr;
    if (!model)
        return QJsonValue::Null;
    QJsonArray symbols;
    for (const LabelDefinitionAt &label : model->labels()) {
        const QJsonObject where = range(label.line, label.column, label.name.size());
        symbols.append(QJsonObject{
            {"name", label.name}, {"kind", 12}, {"range", where}, {"selectionRange", where}});
    }
    return symbols;
}

QJsonValue LspServer::completion(const QJsonObject &params)
{
    LspDocument *doc = document(params);
    ScriptModel *model = doc ? doc->model() : nullptr;
    if (!model)
        return QJsonValue::Null;
    const QJsonObject at = params.value("position").toObject();
    const int line = at.value("line").toInt();
    if (line < 0 || line >= model->lineCount())
        return QJsonArray();
    const qsizetype character
        = std::clamp<qsizetype>(at.value("character").toInt(), 0, model->lineText(line).size());
    const CompletionPlace place = completionPlace(model->lineText(line), character);
    QStringList words;
    int kind = 14; // keyword
    if (place.kind == CompletionPlace::Command) {
        words = commandWords(model->dialect());
    } else if (place.kind == CompletionPlace::Label) {
        for (const LabelDefinitionAt &label : model->labels())
            words.append(label.name);
        words += model->includedLabels();
        words = sortedForCompletion(words);
        kind = 12; // function
    }
    // Each item replaces the whole word typed so far, dots and all ("shared.e" to "shared.end").
    const QJsonObject typed = range(line, place.wordStart, character - place.wordStart);
    QJsonArray items;
    for (const QString &word : words)
        items.append(QJsonObject{{"label", word},
                                 {"kind", kind},
                                 {"textEdit", QJsonObject{{"range", typed}, {"newText", word}}}});
    return items;
}

// Every script that sees the label changes: the definition, wherever it is, and each reference.
QJsonValue LspServer::rename(const QJsonObject &params, bool &handled)
{
    const Target t = target(params);
    if (!t.model || t.label.isEmpty())
        return QJsonValue::Null;
    const QString newName = params.value("newName").toString();
    if (!isValidLabelName(newName)) {
        handled = false;
        m_renameError = labelNameRule();
        return {};
    }
    bool taken = false;
    const QList<LabelPlace> places = labelPlaces(t, &taken, newName);
    if (taken) {
        handled = false;
        m_renameError
            = QStringLiteral("%1 is already a label: renaming %2 to it would make the two "
                             "one.")
                  .arg(newName, t.label);
        return {};
    }
    JsonText json;
    json.raw("{\"changes\":{");
    QString path = QStringLiteral("\n"); // no path is this
    for (qsizetype i = 0; i < places.size(); ++i) {
        if (places[i].path != path) {
            if (i > 0)
                json.raw("],");
            path = places[i].path;
            json.string(uriOf(path, t.uri)).raw(":[");
        } else {
            json.raw(",");
        }
        json.raw("{\"range\":");
        writeRange(json, places[i].line, places[i].column, places[i].length);
        json.raw(",\"newText\":").string(newName).raw("}");
    }
    m_rawResult = json.raw(places.isEmpty() ? "}}" : "]}}").take();
    return {};
}

} // namespace Korveth
