#include "DapServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;

class TestDap : public QObject
{
    Q_OBJECT

    QList<QJsonObject> m_sent;
    int m_seq = 0;

    static QByteArray request(int seq, const char *command, const QJsonObject &arguments)
    {
        return QJsonDocument(QJsonObject{{"seq", seq},
                                         {"type", "request"},
                                         {"command", command},
                                         {"arguments", arguments}})
            .toJson(QJsonDocument::Compact);
    }
    // Sends a request; what the adapter sent back for it, responses and events. A run it starts
    // is taken to where it stops unless asked otherwise.
    QList<QJsonObject> ask(DapServer &server,
                           const char *command,
                           const QJsonObject &arguments = {},
                           bool toTheStop = true)
    {
        m_sent.clear();
        server.handle(request(++m_seq, command, arguments));
        if (toTheStop)
            server.finishGoing();
        return m_sent;
    }
    static QString write(const QTemporaryDir &dir, const char *name, const QByteArray &text)
    {
        QFile file(dir.filePath(QLatin1StringView(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return {};
        return file.fileName();
    }
    // A log of lines on each of which /(a+)+$/ takes a fair while, but less than its limit.
    static QString slowLog(const QTemporaryDir &dir, int lines)
    {
        return write(dir, "slow.log", QByteArray(17, 'a').append("!\n").repeated(lines));
    }
    DapServer server()
    {
        return DapServer([this](const QByteArray &body) {
            m_sent.append(QJsonDocument::fromJson(body).object());
        });
    }
    QList<QJsonObject> launch(DapServer &server, QJsonObject arguments)
    {
        ask(server, "initialize", {{"adapterID", "korveth"}});
        return ask(server, "launch", arguments);
    }
    QJsonArray breakpoints(DapServer &server, const QString &path, QList<int> lines)
    {
        QJsonArray asked;
        for (int line : lines)
            asked.append(QJsonObject{{"line", line}});
        return ask(server,
                   "setBreakpoints",
                   {{"source", QJsonObject{{"path", path}}}, {"breakpoints", asked}})
            .first()
            .value("body")
            .toObject()
            .value("breakpoints")
            .toArray();
    }
    static QJsonObject stoppedBody(const QList<QJsonObject> &sent)
    {
        return eventOf(sent, "stopped").value("body").toObject();
    }
    static QJsonObject eventOf(const QList<QJsonObject> &sent, const char *name)
    {
        for (const QJsonObject &m : sent) {
            if (m.value("event").toString() == QLatin1StringView(name))
                return m;
        }
        return {};
    }
    QJsonArray frames(DapServer &server)
    {
        return ask(server, "stackTrace", {{"threadId", 1}})
            .first()
            .value("body")
            .toObject()
            .value("stackFrames")
            .toArray();
    }
    QJsonObject topFrame(DapServer &server) { return frames(server).first().toObject(); }
    int topLine(DapServer &server) { return topFrame(server).value("line").toInt(); }
    // A value in a scope of a frame (0: the innermost), as a client finds it through scopes.
    QString valueOf(DapServer &server, int scope, const QString &name, int frame = 0)
    {
        const QJsonArray frames = ask(server, "stackTrace", {{"threadId", 1}})
                                      .first()
                                      .value("body")
                                      .toObject()
                                      .value("stackFrames")
                                      .toArray();
        const QJsonArray scopes
            = ask(server, "scopes", {{"frameId", frames.at(frame).toObject().value("id")}})
                  .first()
                  .value("body")
                  .toObject()
                  .value("scopes")
                  .toArray();
        const int reference = scopes.at(scope - 1).toObject().value("variablesReference").toInt();
        const QJsonObject body = ask(server, "variables", {{"variablesReference", reference}})
                                     .first()
                                     .value("body")
                                     .toObject();
        for (const QJsonValue &v : body.value("variables").toArray()) {
            if (v.toObject().value("name").toString() == name)
                return v.toObject().value("value").toString();
        }
        return QStringLiteral("(none)");
    }

private Q_SLOTS:
    // A session as VS Code or nvim-dap drives it: stop on entry, run to a breakpoint, step into a
    // gosub and out again, over a line, look at the values, run to the end.
    void aDebugSession()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("hunt.cmd"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("put hello %1\nvar n 1\ngosub greet a\necho back $hp\nexit\n"
                   "greet:\n  echo hi %1\n  return\n");
        file.close();
        DapServer server([this](const QByteArray &body) {
            m_sent.append(QJsonDocument::fromJson(body).object());
        });
        ask(server, "initialize", {{"adapterID", "korveth"}});
        const auto launched = ask(server,
                                  "launch",
                                  {{"program", script},
                                   {"args", QJsonArray{"x"}},
                                   {"globals", QJsonObject{{"hp", 40}}},
                                   {"stopOnEntry", true}});
        QVERIFY(launched.first().value("success").toBool());
        QVERIFY(!eventOf(launched, "initialized").isEmpty());
        ask(server,
            "setBreakpoints",
            {{"source", QJsonObject{{"path", script}}},
             {"breakpoints", QJsonArray{QJsonObject{{"line", 3}}}}});
        QCOMPARE(eventOf(ask(server, "configurationDone"), "stopped")
                     .value("body")
                     .toObject()
                     .value("reason"),
                 "entry");
        QCOMPARE(topLine(server), 1);

        QCOMPARE(eventOf(ask(server, "continue", {{"threadId", 1}}), "stopped")
                     .value("body")
                     .toObject()
                     .value("reason"),
                 "breakpoint");
        QCOMPARE(topLine(server), 3);
        QCOMPARE(valueOf(server, 2, u"%n"_qs), u"1"_qs);

        ask(server, "stepIn", {{"threadId", 1}});
        QCOMPARE(topLine(server), 6);
        QCOMPARE(ask(server, "stackTrace", {{"threadId", 1}})
                     .first()
                     .value("body")
                     .toObject()
                     .value("totalFrames"),
                 2);
        QCOMPARE(valueOf(server, 1, u"%1"_qs), u"a"_qs);
        QCOMPARE(valueOf(server, 1, u"%1"_qs, 1), u"x"_qs); // the caller's frame

        ask(server, "stepOut", {{"threadId", 1}});
        QCOMPARE(topLine(server), 4);
        QCOMPARE(valueOf(server, 1, u"%1"_qs), u"x"_qs);
        QCOMPARE(valueOf(server, 4, u"$hp"_qs), u"40"_qs);

        ask(server, "next", {{"threadId", 1}});
        QCOMPARE(topLine(server), 5);

        const auto end = ask(server, "continue", {{"threadId", 1}});
        QCOMPARE(eventOf(end, "exited").value("body").toObject().value("exitCode"), 0);
        QVERIFY(!eventOf(end, "terminated").isEmpty());
        QVERIFY(!ask(server, "launch", {{"program", dir.filePath(u"missing.cmd"_qs)}})
                     .first()
                     .value("success")
                     .toBool());
        QVERIFY(!ask(server, "launch", {{"program", script}, {"dialect", "ancient"}})
                     .first()
                     .value("success")
                     .toBool());
    }
    // Breakpoints are kept per file, an included script's too: each request sets one file's, a
    // line past a file's end or a file outside the run is not verified, and line 1 is hit
    // without stopping on entry.
    void breakpointsInIncludedScripts()
    {
        QTemporaryDir dir;
        const QString lib = write(dir, "lib.cmd", "greet:\n  echo hi\n  return\n");
        const QString script = write(dir, "hunt.cmd", "echo one\ngosub greet\nexit\ninclude lib\n");
        const QString other = write(dir, "other.cmd", "echo\n");
        DapServer server = this->server();
        launch(server, {{"program", script}, {"dialect", "modern"}});
        QJsonArray answered = breakpoints(server, script, {1, 9});
        QCOMPARE(answered.at(0).toObject().value("verified"), true);
        QCOMPARE(answered.at(1).toObject().value("verified"), false);
        QVERIFY(answered.at(1).toObject().value("message").toString().contains(u"past the end"));
        QCOMPARE(breakpoints(server, lib, {2}).at(0).toObject().value("verified"), true);
        QCOMPARE(breakpoints(server, other, {1}).at(0).toObject().value("verified"), false);

        QCOMPARE(stoppedBody(ask(server, "configurationDone")).value("reason"), "breakpoint");
        QCOMPARE(topLine(server), 1);
        breakpoints(server, script, {}); // the script's cleared; the library's stay
        QCOMPARE(stoppedBody(ask(server, "continue", {{"threadId", 1}})).value("reason"),
                 "breakpoint");
        const QJsonObject frame = topFrame(server);
        QCOMPARE(frame.value("line"), 2);
        QCOMPARE(frame.value("source").toObject().value("path").toString(), lib);
        QVERIFY(!eventOf(ask(server, "continue", {{"threadId", 1}}), "terminated").isEmpty());
    }
    // What the dry run cannot know stops the run where it happened, as an exception, with the
    // values still there; going on ends the session.
    void cannotKnowStopsAsAnException()
    {
        QTemporaryDir dir;
        const QString script = write(dir, "hunt.cmd", "var n 5\nput $never\necho after\n");
        DapServer server = this->server();
        launch(server, {{"program", script}});
        const QJsonObject stopped = stoppedBody(ask(server, "configurationDone"));
        QCOMPARE(stopped.value("reason"), "exception");
        QVERIFY(stopped.value("text").toString().contains(u"$never"));
        QCOMPARE(topLine(server), 2);
        QCOMPARE(valueOf(server, 2, u"%n"_qs), u"5"_qs);
        QCOMPARE(eventOf(ask(server, "continue", {{"threadId", 1}}), "exited")
                     .value("body")
                     .toObject()
                     .value("exitCode"),
                 1);
    }
    // A run in a long wait goes on in slices between requests: pause stops it there.
    void pauseDuringALongWait()
    {
        QTemporaryDir dir;
        const QString script = write(dir, "hunt.cmd", "waitforre /(a+)+$/\n");
        DapServer server = this->server();
        launch(server, {{"program", script}, {"log", slowLog(dir, 3000)}});
        ask(server, "configurationDone", {}, false);
        server.advance(std::chrono::milliseconds(1));
        QVERIFY(server.busy());
        QCOMPARE(stoppedBody(ask(server, "pause", {{"threadId", 1}})).value("reason"), "pause");
        QVERIFY(!server.busy());
        QCOMPARE(topLine(server), 1);
    }
    // The process hears disconnect while the script waits through a long log, and ends.
    void disconnectEndsTheProcessDuringAWait()
    {
        QTemporaryDir dir;
        const QString script = write(dir, "hunt.cmd", "waitforre /(a+)+$/\n");
        const QString log = slowLog(dir, 100000); // a minute's matching or more
        QProcess adapter;
        adapter.start(QStringLiteral(KORVETH_DAP_PATH));
        QVERIFY(adapter.waitForStarted());
        const QJsonObject launch{{"program", script}, {"log", log}};
        int seq = 0;
        for (const auto &[command, arguments] : {std::pair{"initialize", QJsonObject{}},
                                                 std::pair{"launch", launch},
                                                 std::pair{"configurationDone", QJsonObject{}},
                                                 std::pair{"disconnect", QJsonObject{}}}) {
            const QByteArray body = request(++seq, command, arguments);
            adapter.write("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        }
        QVERIFY(adapter.waitForFinished(10000));
        QCOMPARE(adapter.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDap)
#include "tst_dap.moc"
