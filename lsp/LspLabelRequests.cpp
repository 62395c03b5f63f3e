#include "LspServer.h"

#include "LspJson.h"

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

// The requests about labels: definition, references, symbols, completion and rename.
namespace Korveth {

using namespace LspJson;

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
// A walk of the library cut short names its root in cutShortAt.
QList<LabelPlace> LspServer::labelPlaces(const Target &t,
                                         bool *nameTaken,
                                         const QString &newName,
                                         QString *cutShortAt)
{
    if (const QString path = localPathOf(t.uri); !path.isEmpty()) {
        QStringList open;
        for (auto it = m_documents.cbegin(); it != m_documents.cend(); ++it)
            open.append(localPathOf(it.key()));
        const QString root = searchFor(t.uri).root;
        LibraryReferences library(m_library, root, open);
        if (const QString defining = library.definingScript(path, t.label); !defining.isEmpty()) {
            if (nameTaken)
                *nameTaken = library.nameTaken(defining, t.label, newName);
            QList<LabelPlace> places = library.placesOf(defining, t.label);
            if (cutShortAt && !library.complete())
                *cutShortAt = root;
            return places;
        }
    }
    if (nameTaken)
        *nameTaken = t.model->nameTaken(t.label, newName);
    return t.model->labelPlaces(t.label);
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
    QString cutShortAt;
    const QList<LabelPlace> places = labelPlaces(t, nullptr, {}, &cutShortAt);
    if (!cutShortAt.isEmpty())
        send({{"jsonrpc", "2.0"},
              {"method", "window/showMessage"},
              {"params", QJsonObject{{"type", 2}, {"message", libraryCutShortText(cutShortAt)}}}});
    for (const LabelPlace &place : places) {
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
    for (const LabelDefinitionAt label : model->labels()) {
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
    const LineText text = model->lineText(line);
    const qsizetype character
        = std::clamp<qsizetype>(at.value("character").toInt(), 0, text.size());
    const CompletionPlace place = completionPlace(text, character);
    QStringList words;
    int kind = 14; // keyword
    if (place.kind == CompletionPlace::Command) {
        words = commandWords(model->dialect()).names();
    } else if (place.kind == CompletionPlace::Label) {
        words = labelCompletions(model->labels(), model->includedLabels()).names();
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
    QString cutShortAt;
    const QList<LabelPlace> places = labelPlaces(t, &taken, newName, &cutShortAt);
    if (!cutShortAt.isEmpty()) {
        // A rename that misses a script leaves it calling a label that is gone.
        handled = false;
        m_renameError = libraryCutShortText(cutShortAt) + QStringLiteral(" Nothing was renamed.");
        return {};
    }
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
