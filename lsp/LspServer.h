#pragma once

#include "LibraryReferences.h"
#include "LongStrings.h"
#include "LspDocument.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QSet>

#include <functional>
#include <memory>

namespace Korveth {

// The protocol's side of the language server: takes each message's JSON body, keeps the open
// documents, answers requests and publishes diagnostics through the sender. Malformed messages
// get a JSON-RPC error; nothing a client sends may bring it down.
class LspServer
{
public:
    // Sends one message's JSON body.
    using Sender = std::function<void(const QByteArray &body)>;

    explicit LspServer(Sender send);

    void handle(const QByteArray &body);
    // A header block the reader could not use.
    void badHeader();

    bool exitRequested() const { return m_exit; }
    // 0 after shutdown then exit, 1 for an exit without shutdown.
    int exitCode() const { return m_shutdown ? 0 : 1; }

private:
    QJsonValue respond(const QString &method, const QJsonObject &params, bool &handled);
    void send(const QJsonObject &message);
    void notify(const QString &method, const QJsonObject &params);
    void error(const QJsonValue &id, int code, const QString &message);
    void publish(const QString &uri);
    void sendDiagnostics(const QString &uri, const QList<Diagnostic> &diagnostics);
    QJsonValue pullDiagnostics(const QJsonObject &params);

    QJsonValue initialize(const QJsonObject &params);
    QJsonValue definition(const QJsonObject &params);
    QJsonValue references(const QJsonObject &params);
    QJsonValue documentSymbols(const QJsonObject &params);
    QJsonValue completion(const QJsonObject &params);
    QJsonValue rename(const QJsonObject &params, bool &handled);

    LspDocument *document(const QJsonObject &params);
    // The document a request names, its URI, and the label at the request's position.
    struct Target
    {
        ScriptModel *model = nullptr;
        QString uri;
        QString label;
    };
    Target target(const QJsonObject &params);
    QList<LabelPlace> labelPlaces(const Target &t,
                                  bool *nameTaken = nullptr,
                                  const QString &newName = {},
                                  QString *cutShortAt = nullptr);
    QString uriOf(const QString &path, const QString &fallback) const;

    Sender m_send;
    LongStrings m_longStrings; // of the message being handled
    DialectChoice m_dialect = DialectChoice::Auto;
    bool m_initialized = false;
    bool m_shutdown = false;
    bool m_exit = false;
    // Where a document's includes are looked for: up to the workspace folder that holds it.
    IncludeSearch searchFor(const QString &uri);
    // After a script changed (open or on disk): the others judged again, and told when that
    // changed their mistakes.
    void refreshOthers(const QString &changedUri);

    QStringList m_workspaceFolders; // local paths
    ScriptLibrary m_library;
    QHash<QString, std::shared_ptr<LspDocument>> m_documents;
    // What was last published for each open document, so that only a change is sent again.
    QHash<QString, QList<Diagnostic>> m_published;
    // A client that asks for a document's mistakes (LSP 3.17 pull diagnostics) is not sent them
    // unasked; each answer has an id, and one asked with the id of mistakes unchanged since is
    // answered "unchanged".
    bool m_clientPulls = false;
    bool m_clientRefreshes = false; // it can be told to ask again (another script changed)
    QHash<QString, QString> m_resultIds;
    quint64 m_lastResultId = 0;
    QSet<QString> m_toldTooLarge;
    QString m_renameError;
    QByteArray m_rawResult; // a result written as JSON text, sent instead of the returned value
};

} // namespace Korveth
