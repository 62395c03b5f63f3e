#include "HostileFiles.h"
#include "LspDocument.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Korveth;

namespace {

QByteArray framed(const QByteArray &body)
{
    return "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray request(int id, const char *method, const QJsonObject &params = {})
{
    return QJsonDocument(
               QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}})
        .toJson(QJsonDocument::Compact);
}

QByteArray notification(const char *method, const QJsonObject &params = {})
{
    return QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}})
        .toJson(QJsonDocument::Compact);
}

// The first two messages of a session in the modern dialect: initialize, and the script opened.
QList<QByteArray> openedInModern(const QString &uri, const QString &text)
{
    return {
        request(1, "initialize", {{"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
        notification("textDocument/didOpen",
                     {{"textDocument", QJsonObject{{"uri", uri}, {"text", text}}}})};
}

QJsonObject at(const QString &uri, int line, int character)
{
    return {{"textDocument", QJsonObject{{"uri", uri}}},
            {"position", QJsonObject{{"line", line}, {"character", character}}}};
}

// The object with one more member.
QJsonObject with(QJsonObject object, const char *key, const QJsonValue &value)
{
    object.insert(QLatin1StringView(key), value);
    return object;
}

QJsonObject responseTo(const QList<QJsonObject> &messages, int id)
{
    for (const QJsonObject &m : messages) {
        if (m.value("id") == QJsonValue(id))
            return m;
    }
    return {};
}

// The value at a dotted path of member names and array indices, e.g. "result.range.start.line".
QJsonValue field(QJsonValue value, QStringView path)
{
    for (QStringView step : path.split(u'.')) {
        bool index = false;
        const int i = step.toInt(&index);
        value = index ? value.toArray().at(i) : value.toObject().value(step);
    }
    return value;
}

QList<QJsonObject> diagnosticsOf(const QList<QJsonObject> &messages)
{
    QList<QJsonObject> found;
    for (const QJsonObject &m : messages) {
        if (m.value("method").toString() == u"textDocument/publishDiagnostics")
            found.append(m.value("params").toObject());
    }
    return found;
}

} // namespace

class TestLsp : public QObject
{
    Q_OBJECT

private:
    // A folder holding lib.cmd, which defines libstart: the URI of hunt.cmd beside it.
    static QString scriptBesideALibrary(const QTemporaryDir &dir)
    {
        QFile lib(dir.filePath(QStringLiteral("lib.cmd")));
        if (!lib.open(QIODevice::WriteOnly) || lib.write("libstart:\n") < 0)
            qFatal("cannot write lib.cmd");
        return QUrl::fromLocalFile(dir.filePath(QStringLiteral("hunt.cmd"))).toString();
    }

private Q_SLOTS:
    // The classic dialect has no includes: the check, completion and definition all say so.
    void classicKnowsNoIncludedLabel()
    {
        QTemporaryDir dir;
        const QString uri = scriptBesideALibrary(dir);
        const QList<QJsonObject> messages = converse(
            {request(
                 1, "initialize", {{"initializationOptions", QJsonObject{{"dialect", "classic"}}}}),
             notification("initialized"),
             notification("textDocument/didOpen",
                          {{"textDocument",
                            QJsonObject{{"uri", uri},
                                        {"languageId", "korveth"},
                                        {"version", 1},
                                        {"text", "include lib\ngoto libstart\n"}}}}),
             request(2, "textDocument/definition", at(uri, 1, 7)),
             request(3, "textDocument/completion", at(uri, 1, 8)),
             request(4, "shutdown"),
             notification("exit")});
        QVERIFY(field(diagnosticsOf(messages).first(), u"diagnostics").toArray().size() >= 1);
        QVERIFY(responseTo(messages, 2).value("result").isNull());
        for (const QJsonValue &item : field(responseTo(messages, 3), u"result").toArray())
            QVERIFY(item.toObject().value("label").toString() != u"libstart");
    }
    void aSessionFromOpenToExit()
    {
        QTemporaryDir dir;
        const QString uri = scriptBesideALibrary(dir);
        const QString text
            = QStringLiteral("include lib\nStart:\n  gosub libstart\n  goto start\n  goto nowhere\n"
                             "echo I will goto start\nput say gosub start please\n# goto start\n");
        int exitCode = -1;
        const QList<QJsonObject> messages = converse(
            {request(
                 1, "initialize", {{"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
             notification("initialized"),
             notification(
                 "textDocument/didOpen",
                 {{"textDocument",
                   QJsonObject{
                       {"uri", uri}, {"languageId", "korveth"}, {"version", 1}, {"text", text}}}}),
             request(2, "textDocument/definition", at(uri, 3, 8)),
             request(3,
                     "textDocument/references",
                     with(at(uri, 1, 2), "context", QJsonObject{{"includeDeclaration", true}})),
             request(
                 4, "textDocument/documentSymbol", {{"textDocument", QJsonObject{{"uri", uri}}}}),
             request(10, "textDocument/definition", at(uri, 2, 10)), // into the included script
             request(5, "textDocument/completion", at(uri, 3, 7)),
             request(6, "textDocument/completion", at(uri, 2, 4)),
             // "nowhere" typed as "start" in place: an incremental change.
             notification("textDocument/didChange",
                          {{"textDocument", QJsonObject{{"uri", uri}, {"version", 2}}},
                           {"contentChanges",
                            QJsonArray{QJsonObject{
                                {"range",
                                 QJsonObject{{"start", QJsonObject{{"line", 4}, {"character", 7}}},
                                             {"end", QJsonObject{{"line", 4}, {"character", 14}}}}},
                                {"text", "start"}}}}}),
             request(7, "textDocument/rename", with(at(uri, 1, 0), "newName", "begin")),
             request(8, "textDocument/rename", with(at(uri, 1, 0), "newName", "two words")),
             notification("textDocument/didClose", {{"textDocument", QJsonObject{{"uri", uri}}}}),
             request(9, "shutdown"),
             notification("exit")},
            &exitCode);
        QCOMPARE(exitCode, 0);

        const QList<QJsonObject> published = diagnosticsOf(messages);
        QCOMPARE(published.size(), 3); // open, change, close
        QCOMPARE(field(published[0], u"diagnostics").toArray().size(), 1);
        QCOMPARE(field(published[0], u"diagnostics.0.message").toString(),
                 QStringLiteral("Goto Command recognised. Label not found."));
        QCOMPARE(field(published[0], u"diagnostics.0.range.start.line").toInt(), 4);
        QVERIFY(published[1].value("diagnostics").toArray().isEmpty());
        QVERIFY(published[2].value("diagnostics").toArray().isEmpty());
        const QJsonObject definition = responseTo(messages, 2);
        QCOMPARE(field(definition, u"result.uri").toString(), uri);
        QCOMPARE(field(definition, u"result.range.start.line").toInt(), 1);
        QCOMPARE(field(responseTo(messages, 3), u"result").toArray().size(),
                 2); // Start:, goto start
        const QJsonObject included = responseTo(messages, 10);
        QCOMPARE(field(included, u"result.uri").toString(),
                 QUrl::fromLocalFile(dir.filePath(QStringLiteral("lib.cmd"))).toString());
        QCOMPARE(field(included, u"result.range.start.line").toInt(), 0);
        QCOMPARE(field(responseTo(messages, 4), u"result").toArray().size(), 1);
        QCOMPARE(field(responseTo(messages, 4), u"result.0.name").toString(),
                 QStringLiteral("Start"));
        QStringList labels;
        for (const QJsonValue &item : field(responseTo(messages, 5), u"result").toArray())
            labels << item.toObject().value("label").toString();
        QCOMPARE(labels, (QStringList{"libstart", "Start"}));
        QStringList commands;
        for (const QJsonValue &item : field(responseTo(messages, 6), u"result").toArray())
            commands << item.toObject().value("label").toString();
        QVERIFY(commands.contains(QStringLiteral("gosub"))
                && commands.contains(QStringLiteral("put")));
        const QJsonArray edits = responseTo(messages, 7)
                                     .value("result")
                                     .toObject()
                                     .value("changes")
                                     .toObject()
                                     .value(uri)
                                     .toArray();
        QCOMPARE(edits.size(), 3); // the label and both gotos; no echoed, said or comment text
        QCOMPARE(field(responseTo(messages, 8), u"error.code").toInt(), -32602);
        QVERIFY(responseTo(messages, 9).contains("result"));
    }
    void malformedMessagesGetErrorsAndTheServerGoesOn()
    {
        int exitCode = -1;
        const QList<QJsonObject> messages = converse(
            {request(1, "textDocument/definition"), // before initialize
             request(2, "initialize"),
             "{not json",
             "[1, 2]",
             "RAW:Content-Length: pear\r\n\r\n",
             QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"id", QJsonArray{}}, {"method", "x"}})
                 .toJson(),
             request(3, "no/such/method"),
             notification("textDocument/didChange",
                          {{"textDocument", QJsonObject{{"uri", "file:///never/opened.cmd"}}}}),
             request(4, "textDocument/definition", at("file:///never/opened.cmd", 0, 0)),
             notification("textDocument/didOpen", {{"textDocument", "not an object"}}),
             request(5, "shutdown"),
             notification("exit")},
            &exitCode);
        QCOMPARE(exitCode, 0);
        QCOMPARE(field(responseTo(messages, 1), u"error.code").toInt(), -32002);
        QVERIFY(responseTo(messages, 2).contains("result"));
        int parseErrors = 0, invalid = 0;
        for (const QJsonObject &m : messages) {
            const int code = field(m, u"error.code").toInt();
            parseErrors += code == -32700;
            invalid += code == -32600;
        }
        QCOMPARE(parseErrors, 2); // the broken JSON and the header without a length
        QCOMPARE(invalid, 2);     // the array, and the id that is neither number nor string
        QCOMPARE(field(responseTo(messages, 3), u"error.code").toInt(), -32601);
        QVERIFY(responseTo(messages, 4).value("result").isNull());
        QVERIFY(responseTo(messages, 5).contains("result"));
    }
    void exitWithoutShutdownFails()
    {
        int exitCode = -1;
        converse({request(1, "initialize"), notification("exit")}, &exitCode);
        QCOMPARE(exitCode, 1);
    }
    // Columns count UTF-16 units, as the protocol says; a change without a range replaces the text.
    // Diagnostics are sent again only when they changed.
    void bothKindsOfChangeCountInUtf16()
    {
        const QString uri = QStringLiteral("file:///nowhere/u.cmd");
        auto change = [&](int version, const QJsonObject &content) {
            return notification("textDocument/didChange",
                                {{"textDocument", QJsonObject{{"uri", uri}, {"version", version}}},
                                 {"contentChanges", QJsonArray{content}}});
        };
        auto range = [](int line, int from, int to) {
            return QJsonObject{{"start", QJsonObject{{"line", line}, {"character", from}}},
                               {"end", QJsonObject{{"line", line}, {"character", to}}}};
        };
        const QList<QJsonObject> messages
            = converse(openedInModern(uri, QStringLiteral("\U0001F600\u00E9x:\r\ngoto a\r\n"))
                       + QList<QByteArray>{
                           // "x" stands after a surrogate pair and an e-acute: UTF-16 column 3.
                           // The goto still finds no label: nothing is sent.
                           change(2, {{"range", range(0, 3, 4)}, {"text", "a"}}),
                           request(3,
                                   "textDocument/documentSymbol",
                                   {{"textDocument", QJsonObject{{"uri", uri}}}}),
                           // Line 1 begins after the CR LF: the goto names the label now.
                           change(3, {{"range", range(1, 5, 6)}, {"text", "\U0001F600\u00E9a"}}),
                           change(4, {{"text", "goto b\nb:"}}),
                           change(5, {{"range", range(1, 0, 1)}, {"text", "c"}}),
                           request(4, "textDocument/completion", at(uri, 0, 6)),
                           request(2, "shutdown"),
                           request(6, "textDocument/documentSymbol"),
                           notification("exit")});
        const QList<QJsonObject> published = diagnosticsOf(messages);
        QCOMPARE(published.size(), 3);
        QCOMPARE(field(published[0], u"diagnostics.0.range").toObject(), range(1, 5, 6));
        QCOMPARE(field(responseTo(messages, 3), u"result").toArray().size(), 1);
        QCOMPARE(field(responseTo(messages, 3), u"result.0.name").toString(),
                 QStringLiteral("\U0001F600\u00E9a"));
        QCOMPARE(published[1].value("diagnostics").toArray().size(), 0);
        QCOMPARE(field(published[2], u"diagnostics.0.range").toObject(), range(0, 5, 6));
        // A label completes over the word typed so far.
        QCOMPARE(field(responseTo(messages, 4), u"result.0.textEdit.range").toObject(),
                 range(0, 5, 6));
        QCOMPARE(field(responseTo(messages, 6), u"error.code").toInt(), -32600); // after shutdown
    }
    // Edits of every shape (within a line, across lines, past the end, line ends of each kind)
    // leave the model as a fresh check of the same text would be; past the size limit the text is
    // only kept, and checked again once it is small enough.
    void editsKeepTheModelWhole()
    {
        QRandomGenerator random(7);
        const QStringList pieces{"start:",
                                 "goto start",
                                 "goto gone",
                                 "if x then {",
                                 "}",
                                 "} else {",
                                 "put a",
                                 "\r\n",
                                 "\n",
                                 "\r",
                                 "x",
                                 "match start y",
                                 "matchwait",
                                 "var v 1",
                                 ""};
        QString text = QStringLiteral("start:\r\ngoto start\r\n");
        LspDocument document(text, DialectChoice::Auto, {}, nullptr, 150);
        int tooLarge = 0;
        auto offsetOf = [&](int line, int column) {
            qsizetype at = 0;
            for (int i = 0; i < line && at < text.size(); ++i) {
                while (at < text.size() && text[at] != u'\r' && text[at] != u'\n')
                    ++at;
                if (at < text.size())
                    at += text.sliced(at).startsWith(u"\r\n") ? 2 : 1;
            }
            qsizetype end = at;
            while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
                ++end;
            return qMin(at + column, end);
        };
        for (int step = 0; step < 400; ++step) {
            const int lines = int(text.count(u'\n')) + 2;
            int l1 = random.bounded(lines), c1 = random.bounded(12);
            int l2 = l1 + (random.bounded(3) == 0 ? random.bounded(6) : 0), c2 = random.bounded(12);
            if (l2 == l1 && c2 < c1)
                std::swap(c1, c2);
            QString inserted;
            for (int n = random.bounded(4); n > 0; --n)
                inserted += pieces[random.bounded(int(pieces.size()))];
            const qsizetype from = offsetOf(l1, c1);
            text.replace(from, qMax(from, offsetOf(l2, c2)) - from, inserted);
            document.replace(l1, c1, l2, c2, inserted);
            QCOMPARE(document.model() != nullptr, document.size() <= 150);
            if (!document.model()) {
                ++tooLarge;
                continue;
            }
            ScriptModel fresh(DialectChoice::Auto);
            fresh.update(text.toUtf8());
            QCOMPARE(document.model()->lineCount(), qMax(1, fresh.lineCount()));
            QVERIFY2(document.model()->diagnostics() == fresh.diagnostics(), qPrintable(text));
        }
        QVERIFY2(tooLarge > 10 && tooLarge < 390, qPrintable(QString::number(tooLarge)));
    }
    // A library: scripts in a subfolder include one at the workspace's root. Rename and
    // references reach every script that includes it, open or not, and the definition; a name
    // already taken is refused. The included script's open text stands for its file: editing it
    // judges the other again; closed, its file counts again.
    void aLibraryAcrossScripts()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("hunts")));
        auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        write(QStringLiteral("lib.cmd"), "shared:\n  return\nother:\n");
        write(QStringLiteral("hunts/far.cmd"), "include lib\n  goto shared\n");
        write(QStringLiteral("hunts/alone.cmd"), "goto shared\nshared:\n");
        // A second library script defines the name too: a jump reaches the first included.
        write(QStringLiteral("lib2.cmd"), "shared:\n  return\n");
        write(QStringLiteral("hunts/both.cmd"), "include lib\ninclude lib2\ngoto shared\n");
        // One that defines it itself means its own.
        write(QStringLiteral("hunts/own.cmd"), "include lib\ngoto shared\nshared:\n");
        auto uri = [&](const QString &name) {
            return QUrl::fromLocalFile(dir.filePath(name)).toString();
        };
        const QString main = uri(QStringLiteral("hunts/main.cmd"));
        const QString lib = uri(QStringLiteral("lib.cmd"));
        auto opened = [](const QString &uri, const QString &text) {
            return notification("textDocument/didOpen",
                                {{"textDocument", QJsonObject{{"uri", uri}, {"text", text}}}});
        };
        const QList<QJsonObject> messages = converse(
            {request(1,
                     "initialize",
                     {{"rootUri", QUrl::fromLocalFile(dir.path()).toString()},
                      {"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
             opened(main, QStringLiteral("include lib\ngosub shared\n")),
             opened(lib, QStringLiteral("shared:\n  return\nother:\n")),
             request(3, "textDocument/rename", with(at(main, 1, 7), "newName", "begin")),
             request(4, "textDocument/rename", with(at(main, 1, 7), "newName", "OTHER")),
             opened(uri(QStringLiteral("lib2.cmd")), QStringLiteral("shared:\n  return\n")),
             request(6,
                     "textDocument/rename",
                     with(at(uri(QStringLiteral("lib2.cmd")), 0, 1), "newName", "second")),
             request(5,
                     "textDocument/references",
                     with(at(lib, 0, 1), "context", QJsonObject{{"includeDeclaration", false}})),
             notification("textDocument/didChange",
                          {{"textDocument", QJsonObject{{"uri", lib}}},
                           {"contentChanges", QJsonArray{QJsonObject{{"text", "other:\n"}}}}}),
             notification("textDocument/didClose", {{"textDocument", QJsonObject{{"uri", lib}}}}),
             request(2, "shutdown"),
             notification("exit")});
        const QJsonObject changes = field(responseTo(messages, 3), u"result.changes").toObject();
        QCOMPARE(changes.keys(),
                 QStringList({uri(QStringLiteral("hunts/both.cmd")),
                              uri(QStringLiteral("hunts/far.cmd")),
                              main,
                              lib}));
        QCOMPARE(field(responseTo(messages, 6), u"result.changes").toObject().keys(),
                 QStringList({uri(QStringLiteral("lib2.cmd"))}));
        QCOMPARE(changes.value(lib).toArray().first()["range"]["start"]["line"].toInt(), 0);
        QCOMPARE(changes.value(uri(QStringLiteral("hunts/far.cmd"))).toArray().size(), 1);
        QCOMPARE(field(responseTo(messages, 4), u"error.code").toInt(), -32602);
        QCOMPARE(field(responseTo(messages, 5), u"result").toArray().size(), 3); // main, far, both
        QList<int> mistakes;
        for (const QJsonObject &published : diagnosticsOf(messages)) {
            if (published.value("uri").toString() == main)
                mistakes << int(published.value("diagnostics").toArray().size());
        }
        QCOMPARE(mistakes, QList<int>({0, 1, 0}));
    }
    // A client that asks for mistakes (pull diagnostics) is sent none unasked; an answer keeps
    // its id while the mistakes stay the same, and says "unchanged" to a client holding it.
    void pullDiagnosticsAnswerWithResultIds()
    {
        const QString uri = QStringLiteral("file:///tmp/pulled.cmd");
        auto pull = [&](int id, const QString &held) {
            QJsonObject params{{"textDocument", QJsonObject{{"uri", uri}}}};
            if (!held.isEmpty())
                params.insert("previousResultId", held);
            return request(id, "textDocument/diagnostic", params);
        };
        const QList<QJsonObject> messages = converse(
            {request(1,
                     "initialize",
                     {{"capabilities",
                       QJsonObject{{"textDocument", QJsonObject{{"diagnostic", QJsonObject{}}}}}},
                      {"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
             notification(
                 "textDocument/didOpen",
                 {{"textDocument",
                   QJsonObject{{"uri", uri}, {"text", QStringLiteral("goto nowhere\n")}}}}),
             pull(3, {}),
             pull(4, QStringLiteral("1")),
             notification("textDocument/didChange",
                          {{"textDocument", QJsonObject{{"uri", uri}}},
                           {"contentChanges", QJsonArray{QJsonObject{{"text", "exit\n"}}}}}),
             pull(5, QStringLiteral("1")),
             request(2, "shutdown"),
             notification("exit")});
        QVERIFY(diagnosticsOf(messages).isEmpty());
        QVERIFY(
            field(responseTo(messages, 1), u"result.capabilities.diagnosticProvider").isObject());
        const QJsonObject first = field(responseTo(messages, 3), u"result").toObject();
        QCOMPARE(first["kind"].toString(), QStringLiteral("full"));
        QCOMPARE(first["resultId"].toString(), QStringLiteral("1"));
        QCOMPARE(first["items"].toArray().size(), 1);
        QCOMPARE(field(responseTo(messages, 4), u"result").toObject(),
                 QJsonObject({{"kind", "unchanged"}, {"resultId", "1"}}));
        const QJsonObject fixed = field(responseTo(messages, 5), u"result").toObject();
        QCOMPARE(fixed["kind"].toString(), QStringLiteral("full"));
        QVERIFY(fixed["resultId"].toString() != u"1");
        QCOMPARE(fixed["items"].toArray().size(), 0);
    }
    // A library too deep to walk whole: references say so, and a rename that could miss a script
    // is refused rather than leave it calling a label that is gone.
    void aLibraryTooLargeToWalkIsSaidSo()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a/b/c/d/e/f/g/h/i/j")));
        QFile lib(dir.filePath(QStringLiteral("lib.cmd")));
        QVERIFY(lib.open(QIODevice::WriteOnly) && lib.write("shared:\n") > 0);
        lib.close();
        const QString main
            = QUrl::fromLocalFile(dir.filePath(QStringLiteral("main.cmd"))).toString();
        const QList<QJsonObject> messages = converse(
            {request(1,
                     "initialize",
                     {{"rootUri", QUrl::fromLocalFile(dir.path()).toString()},
                      {"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
             notification("textDocument/didOpen",
                          {{"textDocument",
                            QJsonObject{{"uri", main},
                                        {"text", QStringLiteral("include lib\ngoto shared\n")}}}}),
             request(3, "textDocument/rename", with(at(main, 1, 7), "newName", "begin")),
             request(4,
                     "textDocument/references",
                     with(at(main, 1, 7), "context", QJsonObject{{"includeDeclaration", true}})),
             request(2, "shutdown"),
             notification("exit")});
        QVERIFY(field(responseTo(messages, 3), u"error.message")
                    .toString()
                    .endsWith(u"too large to look through whole (more than 20,000 scripts, "
                              u"100,000 files or 8 folders deep), so some scripts were not "
                              u"looked at. Set the scripts folder to the library's own folder. "
                              u"Nothing was renamed."));
        QCOMPARE(field(responseTo(messages, 4), u"result").toArray().size(), 2);
        QVERIFY(std::any_of(messages.cbegin(), messages.cend(), [](const QJsonObject &message) {
            return message.value("method").toString() == u"window/showMessage";
        }));

        // The script's own library below it is walked whole instead: a folder with .git, else
        // the script's own folder.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("mine/.git")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("plain")));
        QVERIFY(QFile::copy(lib.fileName(), dir.filePath(QStringLiteral("plain/lib.cmd"))));
        for (const QString &folder : {QStringLiteral("mine"), QStringLiteral("plain")}) {
            if (folder == u"mine")
                QVERIFY(QFile::copy(lib.fileName(), dir.filePath(QStringLiteral("mine/lib.cmd"))));
            const QString mine
                = QUrl::fromLocalFile(dir.filePath(folder + QStringLiteral("/main.cmd")))
                      .toString();
            const QList<QJsonObject> own = converse(
                {request(1,
                         "initialize",
                         {{"rootUri", QUrl::fromLocalFile(dir.path()).toString()},
                          {"initializationOptions", QJsonObject{{"dialect", "modern"}}}}),
                 notification(
                     "textDocument/didOpen",
                     {{"textDocument",
                       QJsonObject{{"uri", mine},
                                   {"text", QStringLiteral("include lib\ngoto shared\n")}}}}),
                 request(3, "textDocument/rename", with(at(mine, 1, 7), "newName", "begin")),
                 request(2, "shutdown"),
                 notification("exit")});
            QCOMPARE(field(responseTo(own, 3), u"result.changes").toObject().size(), 2);
        }
    }
    // Its own standard input is the protocol stream: an include that led there must not be read.
    void devicesFifosAndHugeFilesAreNotIncluded()
    {
        QTemporaryDir dir;
        QVERIFY(HostileFiles::make(dir.path(), qint64(256) * 1024 * 1024 + 1));
        const QString uri
            = QUrl::fromLocalFile(dir.filePath(QStringLiteral("main.cmd"))).toString();
        const QList<QJsonObject> messages
            = converse(openedInModern(uri, QString::fromLatin1(HostileFiles::includingScript()))
                       + QList<QByteArray>{request(2, "shutdown"), notification("exit")});
        QVERIFY(responseTo(messages, 2).contains("result"));
        const QList<QJsonObject> published = diagnosticsOf(messages);
        QCOMPARE(published.size(), 1);
        const QJsonArray mistakes = published[0].value("diagnostics").toArray();
        QCOMPARE(mistakes.size(), 4);
        for (const QJsonValue &mistake : mistakes)
            QCOMPARE(mistake.toObject().value("message").toString(),
                     QStringLiteral("Include Command recognised. File cannot be read: not a "
                                    "regular file, or over 256 MB."));
    }

private:
    // Runs the server on the framed messages and returns every message it wrote, in order.
    static QList<QJsonObject> converse(const QList<QByteArray> &bodies, int *exitCode = nullptr)
    {
        QProcess server;
        server.start(QStringLiteral(KORVETH_LSP_PATH), {});
        if (!server.waitForStarted())
            return {};
        for (const QByteArray &body : bodies)
            server.write(body.startsWith("RAW:") ? body.sliced(4) : framed(body));
        server.closeWriteChannel();
        server.waitForFinished(20000);
        if (exitCode)
            *exitCode = server.exitCode();
        QByteArray out = server.readAllStandardOutput();
        QList<QJsonObject> messages;
        while (!out.isEmpty()) {
            const qsizetype end = out.indexOf("\r\n\r\n");
            if (end < 0)
                break;
            const qsizetype length = out.first(end).split(':').value(1).trimmed().toLongLong();
            messages.append(QJsonDocument::fromJson(out.sliced(end + 4, length)).object());
            out = out.sliced(end + 4 + length);
        }
        return messages;
    }
};

QTEST_APPLESS_MAIN(TestLsp)
#include "tst_lsp.moc"
