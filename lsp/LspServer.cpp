#include "LspServer.h"

#include "LspJson.h"

#include "JsonText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

#include <algorithm>

namespace Korveth {

using namespace LspJson;

namespace {

// JSON-RPC and protocol error codes.
constexpr int parseError = -32700;
constexpr int invalidRequest = -32600;
constexpr int methodNotFound = -32601;
constexpr int invalidParams = -32602;
constexpr int serverNotInitialized = -32002;

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
    const QJsonDocument json = QJsonDocument::fromJson(m_longStrings.lift(body), &parse);
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
    if (method == u"textDocument/diagnostic")
        return pullDiagnostics(params);
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
    const QJsonObject client = params.value("capabilities").toObject();
    m_clientPulls = client.value("textDocument").toObject().contains("diagnostic");
    m_clientRefreshes = client.value("workspace")
                            .toObject()
                            .value("diagnostics")
                            .toObject()
                            .value("refreshSupport")
                            .toBool();
    const QJsonObject capabilities{
        {"textDocumentSync", QJsonObject{{"openClose", true}, {"change", 2}, {"save", true}}},
        // A script's mistakes depend on the scripts it includes.
        {"diagnosticProvider",
         QJsonObject{{"interFileDependencies", true}, {"workspaceDiagnostics", false}}},
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
        auto document
            = std::make_shared<LspDocument>(m_longStrings.textOf(textDocument.value("text")),
                                            m_dialect,
                                            searchFor(uri),
                                            &m_library);
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
            const QString text = m_longStrings.textOf(c.value("text"));
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
        // A workspace of "/" holds every folder too.
        const QString within = workspace.endsWith(u'/') ? workspace : workspace + u'/';
        if ((folder == workspace || folder.startsWith(within)) && workspace.size() > root.size())
            root = workspace;
    }
    return {folder, root.isEmpty() ? m_library.libraryRootOf(folder) : root};
}

void LspServer::refreshOthers(const QString &changedUri)
{
    bool changed = false;
    for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it) {
        if (it.key() == changedUri)
            continue;
        if (ScriptModel *model = it.value()->model(); model && model->refreshIncludes()) {
            changed = true;
            publish(it.key());
        }
    }
    // A client that asks for mistakes is told to ask again.
    if (changed && m_clientPulls && m_clientRefreshes)
        send({{"jsonrpc", "2.0"},
              {"id", QStringLiteral("refresh-%1").arg(++m_lastResultId)},
              {"method", "workspace/diagnostic/refresh"}});
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
    if (m_clientPulls)
        return; // it asks when it wants them
    QList<Diagnostic> diagnostics = model ? model->diagnostics() : QList<Diagnostic>();
    const auto last = m_published.constFind(uri);
    if (last != m_published.constEnd() && *last == diagnostics)
        return;
    sendDiagnostics(uri, diagnostics);
    m_published.insert(uri, std::move(diagnostics));
}

namespace {

void writeDiagnostics(JsonText &json, const QList<Diagnostic> &diagnostics)
{
    json.raw("[");
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
    json.raw("]");
}

} // namespace

// A document's mistakes when the client asks: the whole list with a new id, or "unchanged" when
// they are what the id the client holds stood for.
QJsonValue LspServer::pullDiagnostics(const QJsonObject &params)
{
    const QString uri = params.value("textDocument").toObject().value("uri").toString();
    LspDocument *doc = document(params);
    ScriptModel *model = doc ? doc->model() : nullptr;
    QList<Diagnostic> diagnostics = model ? model->diagnostics() : QList<Diagnostic>();
    const QString held = params.value("previousResultId").toString();
    const auto last = m_published.constFind(uri);
    JsonText json;
    if (!held.isEmpty() && held == m_resultIds.value(uri) && last != m_published.constEnd()
        && *last == diagnostics) {
        json.raw("{\"kind\":\"unchanged\",\"resultId\":").string(held).raw("}");
    } else {
        const QString id = QString::number(++m_lastResultId);
        json.raw("{\"kind\":\"full\",\"resultId\":").string(id).raw(",\"items\":");
        writeDiagnostics(json, diagnostics);
        json.raw("}");
        m_resultIds.insert(uri, id);
        m_published.insert(uri, std::move(diagnostics));
    }
    m_rawResult = json.take();
    return {};
}

void LspServer::sendDiagnostics(const QString &uri, const QList<Diagnostic> &diagnostics)
{
    JsonText json;
    json.raw("{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\",\"params\":{"
             "\"uri\":")
        .string(uri)
        .raw(",\"diagnostics\":");
    writeDiagnostics(json, diagnostics);
    json.raw("}}");
    m_send(json.take());
}

} // namespace Korveth
