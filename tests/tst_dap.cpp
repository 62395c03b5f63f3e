#include "DapServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;

class TestDap : public QObject
{
    Q_OBJECT

    QList<QJsonObject> m_sent;
    int m_seq = 0;

    // Sends a request; what the adapter sent back for it, responses and events.
    QList<QJsonObject>
    ask(DapServer &server, const char *command, const QJsonObject &arguments = {})
    {
        m_sent.clear();
        server.handle(QJsonDocument(QJsonObject{{"seq", ++m_seq},
                                                {"type", "request"},
                                                {"command", command},
                                                {"arguments", arguments}})
                          .toJson(QJsonDocument::Compact));
        return m_sent;
    }
    static QJsonObject eventOf(const QList<QJsonObject> &sent, const char *name)
    {
        for (const QJsonObject &m : sent) {
            if (m.value("event").toString() == QLatin1StringView(name))
                return m;
        }
        return {};
    }
    int topLine(DapServer &server)
    {
        return ask(server, "stackTrace", {{"threadId", 1}})
            .first()
            .value("body")
            .toObject()
            .value("stackFrames")
            .toArray()
            .first()
            .toObject()
            .value("line")
            .toInt();
    }
    QString valueOf(DapServer &server, int scope, const QString &name)
    {
        const QJsonObject body = ask(server, "variables", {{"variablesReference", scope}})
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
        QVERIFY(!eventOf(ask(server, "initialize", {{"adapterID", "korveth"}}), "initialized")
                     .isEmpty());
        const auto launched = ask(server,
                                  "launch",
                                  {{"program", script},
                                   {"args", QJsonArray{"x"}},
                                   {"globals", QJsonObject{{"hp", 40}}},
                                   {"stopOnEntry", true}});
        QVERIFY(launched.first().value("success").toBool());
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
    }
};

QTEST_GUILESS_MAIN(TestDap)
#include "tst_dap.moc"
