#include "CaseTable.h"
#include "Completion.h"
#include "Corpus.h"
#include "ModernChecker.h"
#include "ScriptModel.h"
#include "TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;

Q_DECLARE_METATYPE(Korveth::DialectChoice)

namespace {

// Lines our own scripts are made of: labels, jumps to them, matches, blocks, includes, mistakes.
const QStringList pieces{
    "start:",
    "Loop:",
    "hunt:",
    "a:b:",
    "  goto start",
    "goto loop",
    "gosub hunt",
    "goto nowhere",
    "match start You see",
    "matchre hunt /rat|wolf/",
    "matchwait",
    "put attack",
    "pause 2",
    "if %1 = 1 then goto hunt",
    "if %1 = 2 then",
    "{",
    "}",
    "} else {",
    "if_2 then {",
    "else goto start",
    "var x 1",
    "echo hi",
    "include lib",
    "include missing.cmd",
    "goto a:b",
    "puut oops",
    "waitfor Roundtime:",
    "#",
    "<%",
    "%>",
    "",
    "counter add 1",
    "save %c",
    "MATCH Loop text",
    // Joined without their line break, these two would define "nowhere".
    "echo no",
    "where:",
    // Names past eight and past sixteen characters.
    "huntingground:",
    "goto HUNTINGGROUND",
    "the.long.way.round:",
    "gosub the.long.way.round",
};

const char *const labelPieces[] = {"where:", "huntingground:", "the.long.way.round:"};

// Match-heavy scripts cross the 32-match limit often, so an edit moves it along the lines below.
QString randomLine(QRandomGenerator &random, bool matchHeavy)
{
    if (matchHeavy && random.bounded(4) != 0)
        return random.bounded(40) == 0 ? QStringLiteral("matchwait") : QStringLiteral("match a b");
    return pieces[random.bounded(int(pieces.size()))];
}

// What a run over the whole text says of each line: the report's contract.
QStringList fullCheck(const QStringList &lines, DialectChoice choice, const QString &folder)
{
    const QByteArray utf8 = lines.join(u'\n').toUtf8();
    const std::unique_ptr<LineChecker> checker = makeChecker(utf8, choice, folder);
    QStringList verdicts;
    for (const QString &line : lines) {
        const LineVerdicts v = checker->judge(line);
        verdicts.append((v.first ? v.first->message().toString() : QString()) + u'|'
                        + (v.second ? v.second->message().toString() : QString()));
    }
    return verdicts;
}

QStringList modelVerdicts(const ScriptModel &model)
{
    QStringList verdicts;
    for (int i = 0; i < model.lineCount(); ++i) {
        const auto v = model.verdicts(i);
        verdicts.append((v.first ? v.first->message().toString() : QString()) + u'|'
                        + (v.second ? v.second->message().toString() : QString()));
    }
    return verdicts;
}

} // namespace

class TestScriptModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QFile lib(m_folder.filePath(QStringLiteral("lib.cmd")));
        QVERIFY(lib.open(QIODevice::WriteOnly));
        lib.write("libstart:\nput hello\n");
    }
    void randomEditsMatchAFullCheck_data()
    {
        QTest::addColumn<DialectChoice>("choice");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("matchHeavy");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
            const bool heavy = seed > 4;
            const char *kind = heavy ? "match-heavy" : "mixed";
            QTest::addRow("classic %s %u", kind, seed) << DialectChoice::Classic << seed << heavy;
            QTest::addRow("modern %s %u", kind, seed) << DialectChoice::Modern << seed << heavy;
            QTest::addRow("auto %s %u", kind, seed) << DialectChoice::Auto << seed << heavy;
        }
    }
    // After every edit the model must say of each line what a full check of the text says, however
    // the lines were typed, pasted, removed or renamed, and with whichever line ends.
    void randomEditsMatchAFullCheck()
    {
        QFETCH(DialectChoice, choice);
        QFETCH(quint32, seed);
        QFETCH(bool, matchHeavy);
        QRandomGenerator random(seed);
        QStringList lines;
        for (int i = 0; i < (matchHeavy ? 80 : 40); ++i)
            lines.append(randomLine(random, matchHeavy));
        const QStringList breaks{"\n", "\r\n", "\r"};
        ScriptModel model(choice, m_folder.path());
        QRandomGenerator spans(seed);
        QByteArray told;
        QByteArray buffers[2];
        for (int step = 0; step < 300; ++step) {
            const int at = lines.isEmpty() ? 0 : random.bounded(int(lines.size()));
            switch (random.bounded(7)) {
            case 0: // a line typed
                lines.insert(at, randomLine(random, matchHeavy));
                break;
            case 1: // lines pasted
                for (int n = random.bounded(1, 6); n > 0; --n)
                    lines.insert(at, randomLine(random, matchHeavy));
                break;
            case 2: // lines removed
                if (!lines.isEmpty())
                    lines.remove(at, qMin(int(lines.size()) - at, random.bounded(1, 4)));
                break;
            case 3: // a character typed or removed inside a line
                if (!lines.isEmpty()) {
                    QString &line = lines[at];
                    const int where = random.bounded(int(line.size()) + 1);
                    if (random.bounded(2) == 0 || line.isEmpty())
                        line.insert(where, QChar(u"az :{}%\u00e9"[random.bounded(8)]));
                    else
                        line.remove(qMin(where, int(line.size()) - 1), 1);
                }
                break;
            case 4: // a label renamed or removed
                for (QString &line : lines) {
                    if (line.endsWith(u':') && !line.contains(u' ')) {
                        line = random.bounded(2) ? QStringLiteral("renamed:") : QString();
                        break;
                    }
                }
                break;
            case 5: // an include added or removed
                if (random.bounded(2))
                    lines.insert(at, QStringLiteral("include lib"));
                else
                    lines.removeAll(QStringLiteral("include lib"));
                break;
            case 6: // more labels than a few at once: a block of them pasted, or all taken out
                if (random.bounded(2)) {
                    for (int n = 0; n < 66; ++n)
                        lines.insert(at, QString::fromLatin1(labelPieces[random.bounded(3)]));
                } else {
                    lines.removeIf([](const QString &line) {
                        return line.endsWith(u':') && !line.contains(u' ');
                    });
                }
                break;
            }
            const QString lineEnd = breaks[random.bounded(int(breaks.size()))];
            const QByteArray text = lines.join(lineEnd).toUtf8();
            // The model reads the bytes where they lie, as an editor's buffer; once they change,
            // it must not.
            QByteArray &now = buffers[step % 2];
            now = QByteArray(text.constData(), text.size());
            const QByteArray view = QByteArray::fromRawData(now.constData(), now.size());
            if (step % 2 == 0) {
                model.update(view);
            } else {
                model.textChanging();
                // Told while its lines cannot be read: they are judged once they can.
                if (step % 8 == 1) {
                    model.setIncludeSearch(IncludeSearch(QDir::tempPath(), {}));
                    model.setIncludeSearch(IncludeSearch(m_folder.path(), {}));
                } else if (step % 8 == 5) {
                    model.setDialectChoice(choice == DialectChoice::Modern ? DialectChoice::Classic
                                                                           : DialectChoice::Modern);
                    model.setDialectChoice(choice);
                }
                // Only the bytes that changed, told as an editor tells them: the span at times
                // wider than the change, taking in unchanged bytes either side.
                qsizetype same = 0;
                while (same < qMin(text.size(), told.size()) && text[same] == told[same])
                    ++same;
                qsizetype tail = 0;
                while (tail < qMin(text.size(), told.size()) - same
                       && text[text.size() - 1 - tail] == told[told.size() - 1 - tail])
                    ++tail;
                const qsizetype from = spans.bounded(same + 1);
                tail = spans.bounded(tail + 1);
                QVERIFY(model.replaceBytes(
                    view, from, QByteArrayView(told).sliced(from, told.size() - from - tail)));
            }
            buffers[(step + 1) % 2].fill('#');
            told = text;
            QCOMPARE(model.utf8(), text);
            if (lines.isEmpty()) {
                QCOMPARE(model.lineCount(), 0);
                continue;
            }
            QCOMPARE(model.lineCount(), int(lines.size()));
            for (int i = 0; i < model.lineCount(); ++i) {
                const LineText text = model.lineText(i);
                if (text.view() != lines[i])
                    QFAIL(qPrintable(QStringLiteral("step %1, line %2: model '%3', typed '%4'")
                                         .arg(step)
                                         .arg(i)
                                         .arg(text.view(), lines[i])));
            }
            const QStringList expected = fullCheck(lines, choice, m_folder.path());
            const QStringList actual = modelVerdicts(model);
            if (actual != expected) {
                for (int i = 0; i < qMax(actual.size(), expected.size()); ++i) {
                    if (actual.value(i) != expected.value(i))
                        QFAIL(qPrintable(
                            QStringLiteral("step %1, line %2 '%3': model '%4', full '%5'")
                                .arg(step)
                                .arg(i)
                                .arg(lines.value(i), actual.value(i), expected.value(i))));
                }
            }
            ScriptModel fresh(choice, m_folder.path());
            fresh.update(lines.join(lineEnd).toUtf8());
            QCOMPARE(model.mistakeCount(), fresh.mistakeCount());
            QCOMPARE(model.mistakeCount(), int(model.diagnostics().size()));
            QCOMPARE(model.dialect(), fresh.dialect());
        }
    }
    // Edited texts pile up until the lines' own are outweighed, then only theirs are kept: every
    // line must read and judge the same before and after.
    void linesKeepTheirTextsThroughManyLongEdits()
    {
        ScriptModel model(DialectChoice::Modern);
        model.editText(0, 0, QStringLiteral("start:\r\ngoto start\r\nput x\nmid\rgoto nowhere"));
        QStringList lines{"start:", "goto start", "put x", "mid", "goto nowhere"};
        for (int round = 0; round < 12; ++round) {
            // A long line, pasted and changed again: 3 M characters over the rounds.
            const QString longLine = QStringLiteral("put ") + QString(250000, QChar(u'a' + round));
            model.edit(2, 1, {longLine});
            lines[2] = longLine;
            model.editText(3, 1, QStringLiteral("mid%1").arg(round));
            lines[3] = QStringLiteral("mid%1").arg(round);
            for (int i = 0; i < lines.size(); ++i) {
                const LineText text = model.lineText(i);
                QCOMPARE(text.view().toString(), lines[i]);
            }
        }
        ScriptModel fresh(DialectChoice::Modern);
        fresh.update(lines.join(u'\n').toUtf8());
        QCOMPARE(model.diagnostics(), fresh.diagnostics());
        QCOMPARE(model.mistakeCount(), 2); // "mid11" and the missing label
    }
    void aOneLineEditJudgesFewLines()
    {
        QStringList lines;
        for (int i = 0; i < 2000; ++i)
            lines << QStringLiteral("l%1:").arg(i) << QStringLiteral("put x")
                  << QStringLiteral("goto l%1").arg(i);
        ScriptModel model(DialectChoice::Modern);
        model.update(lines.join(u'\n').toUtf8());
        lines[3001] = QStringLiteral("put y");
        model.update(lines.join(u'\n').toUtf8());
        QVERIFY2(model.lastJudgedCount() <= 2,
                 qPrintable(QString::number(model.lastJudgedCount())));
        // A label vanishing judges the lines that may name it, not the whole script.
        lines[0] = QStringLiteral("gone");
        model.update(lines.join(u'\n').toUtf8());
        QCOMPARE(model.mistakeCount(), 2); // the line itself and its goto
        QVERIFY2(model.lastJudgedCount() <= 3,
                 qPrintable(QString::number(model.lastJudgedCount())));
        // Typing below a label line: the label is taken out and put back as it was, which names
        // no label that came or went.
        QByteArray text = QByteArray("goto end\n").repeated(2000) + "end:\n";
        model.update(text);
        model.update(text + "p");
        QVERIFY2(model.lastJudgedCount() <= 2,
                 qPrintable(QString::number(model.lastJudgedCount())));
    }
    // A caller keeps the labels while the version stays: it must change whenever they may.
    void labelsVersionFollowsTheLabels()
    {
        ScriptModel model(DialectChoice::Modern);
        model.update("start:\nput x\ngoto start");
        // The text; whether the labels' places change; whether their names do.
        const std::tuple<const char *, bool, bool> steps[] = {
            {"start:\nput xy\ngoto start", false, false},               // typed within a command
            {"start:\nput xy\ngoto start\n", true, false},              // a line more
            {"begin:\nput xy\ngoto start\n", true, true},               // a label renamed
            {"  begin:\nput xy\ngoto start\n", true, false},            // its column moved
            {"put y\n  begin:\ngoto start\n", true, false},             // its line moved
            {"put y\nput z\n  begin:\ngoto start\n", true, false},      // a line typed above it
            {"put y\nput z\n  begin:\nend:\ngoto start\n", true, true}, // a label more
            {"put y\nput z\n  begin:\nEnd:\ngoto start\n", true, true}, // its letter case
            {"put y\nput z\n  begin:\ngoto start\n", true, true},       // taken out
        };
        for (const auto &[text, places, names] : steps) {
            const std::uint64_t placesBefore = model.labelsVersion();
            const std::uint64_t namesBefore = model.labelNamesVersion();
            model.update(text);
            QVERIFY2((model.labelsVersion() != placesBefore) == places, text);
            QVERIFY2((model.labelNamesVersion() != namesBefore) == names, text);
        }
    }
    // The first line written the modern way turns the whole script modern, typed or loaded.
    void oneModernLineMakesAnAutoScriptModern()
    {
        ScriptModel model(DialectChoice::Auto);
        model.update("put a\nexit");
        QCOMPARE(model.dialect(), Dialect::Classic);
        model.update("var x 1\nexit");
        QCOMPARE(model.dialect(), Dialect::Modern);
        model.update("put a\nexit");
        QCOMPARE(model.dialect(), Dialect::Classic);
    }
    // An included script changed on disk, or open with other text: the lines it decides are
    // judged again; closed, its file stands for it again.
    void includedScriptsStayCurrent()
    {
        QTemporaryDir dir;
        const QString lib = dir.filePath(QStringLiteral("shared.cmd"));
        auto write = [&](const QByteArray &bytes) {
            QFile file(lib);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        write("a:\n");
        ScriptLibrary library;
        ScriptModel model(DialectChoice::Modern, dir.path(), &library);
        model.update("include shared\ngoto a\ngoto b");
        QCOMPARE(model.mistakeCount(), 1);
        QVERIFY(!model.refreshIncludes());
        write("a:\nb:\n");
        QVERIFY(model.refreshIncludes());
        QCOMPARE(model.mistakeCount(), 0);
        library.setOpenText(lib, "b:\n");
        QVERIFY(model.refreshIncludes());
        QCOMPARE(model.diagnostics().value(0).line, 1);
        library.closeText(lib);
        QVERIFY(model.refreshIncludes());
        QCOMPARE(model.mistakeCount(), 0);
        QVERIFY(QFile::remove(lib));
        QVERIFY(model.refreshIncludes());
        QCOMPARE(model.mistakeCount(), 3); // the include, and both gotos
    }
    void labelsAndReferences()
    {
        ScriptModel model(DialectChoice::Modern);
        model.update(QByteArrayLiteral("Start:\n  goto START\na:b:\nif x then gosub a:B\nstart:\n"
                                       "matchre Start /x/\ngoto %s\n"));
        const LabelList labels = model.labels();
        QCOMPARE(labels.size(), 3);
        QCOMPARE(labels.at(1), (LabelDefinitionAt{2, 0, QStringLiteral("a:b")}));
        QCOMPARE(model.definitionOf(u"start")->line, 0); // the first of two
        QCOMPARE(model.definitionOf(u"A:B")->line, 2);
        QVERIFY(!model.definitionOf(u"art"));
        const QList<Diagnostic> references = model.referencesTo(u"start");
        QCOMPARE(references.size(), 2);
        QCOMPARE(references[0].line, 1);
        QCOMPARE(references[0].column, 7);
        QCOMPARE(references[1].line, 5);
        QCOMPARE(model.labelAt(3, 17), QStringLiteral("a:B"));
        QCOMPARE(model.labelAt(0, 2), QStringLiteral("Start"));
        QCOMPARE(model.labelAt(6, 6), QString()); // a variable names no label
        QCOMPARE(model.mistakeCount(), 0);
    }
    void mistakesPointAtTheirWord_data()
    {
        CaseTable::load(QStringLiteral("checker-cases/mistake-places.tsv"));
    }
    void mistakesPointAtTheirWord()
    {
        QFETCH(QString, script);
        QFETCH(QString, line);
        QFETCH(QString, column);
        QFETCH(QString, length);
        ScriptModel model(DialectChoice::Modern, m_folder.path());
        model.update(script.toUtf8());
        const QList<Diagnostic> found = model.diagnostics();
        QCOMPARE(found.size(), line == u"-1" ? 0 : 1);
        if (!found.isEmpty()) {
            QCOMPARE(found[0].line, line.toInt());
            QCOMPARE(found[0].column, column.toInt());
            QCOMPARE(found[0].length, length.toInt());
        }
    }
    void completionPlaces_data()
    {
        CaseTable::load(QStringLiteral("checker-cases/completion-places.tsv"));
    }
    void completionPlaces()
    {
        QFETCH(QString, before);
        QFETCH(QString, kind);
        QFETCH(QString, wordStart);
        const CompletionPlace place = completionPlace(before, before.size());
        const QStringList kinds{"Nothing", "Command", "Label"}; // in the enum's order
        QCOMPARE(kinds.value(place.kind), kind);
        QCOMPARE(int(place.wordStart), wordStart.toInt());
    }
    void completionLists()
    {
        const QStringList classic = commandWords(Dialect::Classic).names();
        const QStringList modern = commandWords(Dialect::Modern).names();
        QVERIFY(classic.contains(QStringLiteral("waitfor"))
                && !classic.contains(QStringLiteral("gosub")));
        QVERIFY(modern.contains(QStringLiteral("gosub")) && modern.contains(QStringLiteral("put")));
        QVERIFY(!modern.contains(QStringLiteral("if_3")) && !modern.contains(QStringLiteral("{")));
        QCOMPARE(modern.count(QStringLiteral("goto")), 1);
        // A name once whatever its letter case, accented letters too (the upper case first).
        const CompletionList sorted(
            {"b", "B", "a", "Hunt", "\u00E9t\u00E9", "home", "tide", "hunt2", "\u00C9T\u00C9"});
        QCOMPARE(sorted.names(),
                 (QStringList{"a", "B", "home", "Hunt", "hunt2", "tide", "\u00C9T\u00C9"}));
        QCOMPARE(sorted.joined(), QByteArray("a B home Hunt hunt2 tide \xC3\x89T\xC3\x89"));
        // Offered only when a name starts with what was typed, letter case ignored.
        const CompletionList &commands = commandWords(Dialect::Modern);
        for (const char *typed : {"HU", "hunt2", "b", "A", "GOS", "\u00C9T"})
            QVERIFY2((typed[0] == 'G' ? commands : sorted).offers(QString::fromUtf8(typed)), typed);
        for (const char *typed : {"hx", "hunt3", "z", "0", "gosx", "\u00C9x"})
            QVERIFY2(!(typed[0] == 'g' ? commands : sorted).offers(QString::fromUtf8(typed)),
                     typed);
    }
    // Every script of the corpus, where it is present: the model agrees with a full check, in the
    // dialect Auto picks, when opened and again after a line in its middle is removed.
    void realScriptsAgreeWithAFullCheck()
    {
        KORVETH_CORPUS_OR_SKIP(corpus);
        QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
        int checked = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QStringLiteral(".md")))
                continue;
            const ReadResult read = readTextFile(path);
            QVERIFY2(read.error.isEmpty(), qPrintable(path));
            QStringList lines = QString::fromUtf8(read.text.utf8)
                                    .split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
            if (read.text.utf8.isEmpty())
                lines.clear();
            ScriptModel model(DialectChoice::Auto, QFileInfo(path).absolutePath());
            for (int round = 0; round < 2; ++round) {
                model.update(lines.join(u'\n').toUtf8());
                const QStringList expected
                    = fullCheck(lines, DialectChoice::Auto, QFileInfo(path).absolutePath());
                QVERIFY2(modelVerdicts(model) == expected, qPrintable(path));
                if (!lines.isEmpty())
                    lines.removeAt(lines.size() / 2);
            }
            ++checked;
        }
        QVERIFY(checked > 400);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_APPLESS_MAIN(TestScriptModel)
#include "tst_scriptmodel.moc"
