#include "ControlCalls.h"
#include "DocumentWindow.h"
#include "EditorPropertiesDialog.h"
#include "EditorSearch.h"
#include "EditorServices.h"
#include "FileStore.h"
#include "LanguageDefinition.h"
#include "ScriptEditor.h"
#include "ScriptLexer.h"
#include "ScriptedDialogs.h"
#include "SearchCommands.h"

#include <QFile>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Korveth;

class TestScriptEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { RegisterScriptLanguage(m_services.languages); }
    void textJoinsLinesWithCrLf_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");

        QTest::newRow("LF only") << QByteArray("put a\nexit\n") << "put a\r\nexit\r\n" << 3;
        QTest::newRow("CR only") << QByteArray("a\rb") << "a\r\nb" << 2;
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc") << "a\r\nb\r\nc" << 3;
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE" "a\0\n\0", 6) << "a\r\n" << 2;
        QTest::newRow("empty") << QByteArray() << "" << 1;
        // clang-format on
    }
    void textJoinsLinesWithCrLf()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, lines);
        ScriptEditor editor(m_services);
        QVERIFY(load(editor, write(bytes)));
        QCOMPARE(editor.crlfText(), text);
        QCOMPARE(editor.linecount(), lines);
        QVERIFY(!editor.isUndoAvailable()); // loading is not an edit
    }
    void writingTextIsOneUndoStep()
    {
        ScriptEditor editor(m_services);
        QVERIFY(load(editor, write("one\ntwo")));
        editor.setWholeText(QStringLiteral("x\r\ny\r\nz"));
        QCOMPARE(editor.crlfText(), QStringLiteral("x\r\ny\r\nz"));
        QCOMPARE(editor.text(), QStringLiteral("x\ny\nz")); // the file's own line ends
        editor.undo();
        QCOMPARE(editor.crlfText(), QStringLiteral("one\r\ntwo"));
        QVERIFY(!editor.isUndoAvailable());
    }
    void selectionAndCaret()
    {
        ScriptEditor editor(m_services);
        editor.setWholeText(QStringLiteral("put \u00E9t\u00E9\r\nexit\r\nwait"));
        editor.setCaretPosition(0, 6);
        QCOMPARE(editor.selectionRange(true), (ScriptEditor::Range{0, 6, 0, 6}));
        editor.setCaretPosition(1, 99); // past the end of the line: its end
        QCOMPARE(editor.selectionRange(true), (ScriptEditor::Range{1, 4, 1, 4}));

        editor.setSelection(2, 3, 0, 2); // anchor on line 2, caret on line 0
        QCOMPARE(editor.selectionRange(false), (ScriptEditor::Range{2, 3, 0, 2}));
        QCOMPARE(editor.selectionRange(true), (ScriptEditor::Range{0, 2, 2, 3}));

        editor.replaceSelectionWith(QString());
        QCOMPARE(editor.crlfText(), QStringLiteral("put"));
    }
    void builtInCommands()
    {
        ScriptEditor editor(m_services);
        editor.setWholeText(QStringLiteral("a\r\nbb\r\nccc"));
        editor.setCaretPosition(1, 1);
        editor.runBuiltInCommand(ScriptEditor::SelectLine);
        QCOMPARE(editor.selectedText(), QStringLiteral("bb\r\n"));
        editor.runBuiltInCommand(ScriptEditor::SelectAll);
        QCOMPARE(editor.selectedText(), QStringLiteral("a\r\nbb\r\nccc"));
        editor.runBuiltInCommand(ScriptEditor::GoToLine, 2);
        QCOMPARE(editor.selectionRange(false).endLine, 2);
    }
    void goToLineAsks()
    {
        ScriptedDialogs dialogs;
        ScriptEditor editor(m_services);
        QWidget window;
        SearchCommands search(m_services.search, dialogs, window, [&] { return &editor; });
        editor.setWholeText(QStringLiteral("a\r\nb\r\nc\r\nd"));
        dialogs.values.enqueue(3);
        search.goToLine();
        QCOMPARE(editor.selectionRange(false).endLine, 2);
        dialogs.values.enqueue(QVariant()); // cancelled: the caret stays
        search.goToLine();
        QCOMPARE(editor.selectionRange(false).endLine, 2);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(dialogs.unexpected.isEmpty());
    }
    void findAndReplace()
    {
        ScriptEditor editor(m_services);
        editor.setWholeText(QStringLiteral("put Goblin\r\nmatch goblin x\r\nput troll"));
        SearchSettings search{QStringLiteral("goblin"), QStringLiteral("orc"), false, false};
        QVERIFY(EditorSearch::findText(editor, search, true));
        QCOMPARE(editor.selectionRange(true), (ScriptEditor::Range{0, 4, 0, 10}));
        QVERIFY(EditorSearch::findText(editor, search, true));
        QCOMPARE(editor.selectionRange(true).startLine, 1);
        QVERIFY(EditorSearch::findText(editor, search, true)); // wraps to the start
        QCOMPARE(editor.selectionRange(true).startLine, 0);
        QVERIFY(EditorSearch::findText(editor, search, false)); // backwards wraps to the end
        QCOMPARE(editor.selectionRange(true).startLine, 1);

        search.matchCase = true;
        editor.setCaretPosition(0, 0);
        QVERIFY(EditorSearch::findText(editor, search, true));
        QCOMPARE(editor.selectionRange(true).startLine, 1);
        QVERIFY(EditorSearch::replaceSelection(editor, search)
                == false); // replaced; no further match
        QCOMPARE(editor.crlfText(), QStringLiteral("put Goblin\r\nmatch orc x\r\nput troll"));
        QVERIFY(
            !EditorSearch::findText(editor, {QStringLiteral("dragon"), {}, false, false}, true));
    }
    void replaceAllIsOneUndoStep()
    {
        ScriptEditor editor(m_services);
        editor.setWholeText(QStringLiteral("a a a\r\na"));
        // A replacement that contains the search text must not loop.
        QCOMPARE(EditorSearch::replaceAll(
                     editor, {QStringLiteral("a"), QStringLiteral("aa"), false, false}),
                 4);
        QCOMPARE(editor.crlfText(), QStringLiteral("aa aa aa\r\naa"));
        editor.undo();
        QCOMPARE(editor.crlfText(), QStringLiteral("a a a\r\na"));
        QCOMPARE(EditorSearch::replaceAll(editor,
                                          {QStringLiteral("A"), QStringLiteral("b"), true, false}),
                 0);
        QCOMPARE(EditorSearch::replaceAll(editor,
                                          {QStringLiteral("a"), QStringLiteral("b"), false, true}),
                 4);
    }
    void keywordsAndCommentsAreColoured()
    {
        ScriptEditor editor(m_services);
        editor.resize(600, 300);
        editor.Language(scriptLanguageName);
        QVERIFY(qobject_cast<ScriptLexer *>(editor.lexer()));
        QCOMPARE(QString::fromLatin1(editor.lexer()->language()), QStringLiteral("Perl"));
        editor.setWholeText(QStringLiteral("PUT %1 # note\r\ncounter add\r\nmatchwait"));
        editor.show();
        editor.recolor();
        auto styleAt = [&](int line, int index) {
            return int(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                            editor.positionFromLineIndex(line, index)));
        };
        QCOMPARE(styleAt(0, 0), int(TokenStyle::Keyword));
        QCOMPARE(styleAt(0, 4), int(TokenStyle::Operator));
        QCOMPARE(styleAt(0, 3), int(TokenStyle::Default));
        QCOMPARE(styleAt(0, 10), int(TokenStyle::Comment));
        QCOMPARE(styleAt(1, 9), int(TokenStyle::Keyword));
        QCOMPARE(styleAt(2, 0), int(TokenStyle::Keyword));

        // A jump to the end of a long script colours what is shown at once; the lines passed
        // over are coloured while idle, and the editor asks for none of them again.
        editor.setWholeText(QStringLiteral("put x\r\n").repeated(100000));
        editor.setCaretPosition(editor.lines() - 2, 0);
        editor.ensureCursorVisible();
        (void)editor.grab(); // painted, as the screen would
        QCOMPARE(styleAt(editor.lines() - 2, 0), int(TokenStyle::Keyword));
        auto *lexer = qobject_cast<ScriptLexer *>(editor.lexer());
        QVERIFY(lexer->colouringLater());
        QTRY_VERIFY(!lexer->colouringLater());
        for (const int line : {1, 50000, 99000})
            QCOMPARE(styleAt(line, 0), int(TokenStyle::Keyword));

        editor.Language(QStringLiteral("Cobol")); // not registered: plain text
        QVERIFY(!editor.lexer());
    }
    void breakpointKeyTogglesMarginBit()
    {
        ScriptedDialogs dialogs;
        ScriptDocument script(m_store);
        DocumentWindow document(m_services, script, nullptr, dialogs);
        document.editor()->setWholeText(QStringLiteral("a\r\nb\r\nc"));
        document.editor()->setCaretPosition(1, 0);
        QTest::keyClick(document.editor(), Qt::Key_F9);
        QCOMPARE(document.editor()->marginMask(1), std::uint8_t(2));
        document.editor()->setMarginMask(1, 2 | 1);
        QTest::keyClick(document.editor(), Qt::Key_F9);
        QCOMPARE(document.editor()->marginMask(1), std::uint8_t(1));
        QCOMPARE(document.editor()->marginMask(0), std::uint8_t(0));
        QCOMPARE(m_services.registry.command(DocumentWindow::DebugBreakpoint)->name,
                 QStringLiteral("DebugBreakpoint"));
        QCOMPARE(m_services.registry.hotKeyCount(DocumentWindow::DebugBreakpoint), 1);
    }
    void stepKeysHighlightTheCaretLine()
    {
        ScriptedDialogs dialogs;
        ScriptDocument script(m_store);
        DocumentWindow document(m_services, script, nullptr, dialogs);
        document.editor()->setWholeText(QStringLiteral("a\r\nb\r\nc"));
        document.editor()->setCaretPosition(2, 0);
        QTest::keyClick(document.editor(), Qt::Key_F8);
        QCOMPARE(document.editor()->highlightedLine(), 2);
        document.editor()->setCaretPosition(
            0, 0); // option off: a selection change clears the highlight
        QCOMPARE(document.editor()->highlightedLine(), -1);
        QTest::keyClick(document.editor(), Qt::Key_F10);
        QCOMPARE(document.editor()->highlightedLine(), 0);

        document.setHighlightSelectedLine(true);
        document.editor()->setSelection(0, 0, 1, 1);
        QCOMPARE(document.editor()->highlightedLine(), 1);
        QCOMPARE(document.positionText(), QStringLiteral("Row: 1 Col: 1 Lines: 3"));
        // Lines added above the mark move it; it still follows the caret, on one line only.
        document.editor()->setCaretPosition(1, 0);
        QTest::keyClick(document.editor(), Qt::Key_Return);
        QTest::keyClick(document.editor(), Qt::Key_Up);
        const unsigned mark = 1u << ScriptEditor::highlightMarker;
        QCOMPARE(document.editor()->markerFindNext(0, mark), 1);
        QCOMPARE(document.editor()->markerFindNext(2, mark), -1);
        QCOMPARE(document.positionText(), QStringLiteral("Row: 2 Col: 1 Lines: 4"));
    }
    // What a key asks of the editor control, and what follows it (changed flag, status bar,
    // highlighted line, live check, completion), is the same at the end of a long script as at the
    // end of a short one: nothing walks the text from its start or clears every line.
    void keyWorkDoesNotGrowWithTheScript()
    {
        auto keysAtTheEnd = [this](int lines) {
            ScriptedDialogs dialogs;
            ScriptDocument script(m_store);
            DocumentWindow document(m_services, script, nullptr, dialogs);
            document.setHighlightSelectedLine(true);
            document.show();
            document.editor()->loadUtf8(
                QByteArray("match here \xc3\xa9t\xc3\xa9\r\n").repeated(lines), LineEnding::CrLf);
            document.live().refresh();
            document.editor()->setCaretPosition(lines, 0);
            document.editor()->setFocus();
            QApplication::processEvents();
            ControlCalls::reset();
            QTest::keyClicks(document.editor(), QStringLiteral("goto h"));
            for (auto [key, modifiers] : {std::pair{Qt::Key_Backspace, Qt::NoModifier},
                                          {Qt::Key_Return, Qt::NoModifier},
                                          {Qt::Key_Left, Qt::ShiftModifier},
                                          {Qt::Key_Up, Qt::NoModifier},
                                          {Qt::Key_Delete, Qt::NoModifier},
                                          {Qt::Key_Z, Qt::ControlModifier},
                                          {Qt::Key_Y, Qt::ControlModifier}}) {
                QTest::keyClick(document.editor(), key, modifiers);
                QApplication::processEvents();
                document.editor()->viewport()->repaint();
            }
            document.document().setChanged(false);
            return ControlCalls::tally();
        };
        const ControlCalls::Tally few = keysAtTheEnd(20);
        const ControlCalls::Tally many = keysAtTheEnd(20000);
        QCOMPARE(many.bytesCounted, few.bytesCounted);
        QCOMPARE(many.gapBytesMoved, few.gapBytesMoved);
        QCOMPARE(many.markersClearedEverywhere, 0);
    }
    void rightClickAsksForTheEditMenu()
    {
        ScriptedDialogs dialogs;
        ScriptDocument script(m_store);
        DocumentWindow document(m_services, script, nullptr, dialogs);
        QSignalSpy spy(&document, &DocumentWindow::editMenuRequested);
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(50, 50));
        QCoreApplication::sendEvent(document.editor()->viewport(), &right);
        QCOMPARE(spy.size(), 1);
        QTest::mouseClick(document.editor()->viewport(), Qt::LeftButton);
        QCOMPARE(spy.size(), 1);
    }
    void savingKeepsFormatAndTellsWhenItCannot()
    {
        ScriptedDialogs dialogs;
        ScriptDocument script(m_store);
        DocumentWindow document(m_services, script, nullptr, dialogs);
        const QString path = write("say \x92hi\r\n");
        document.showLoaded(path, readTextFile(path), ScriptDocument::Origin::File);
        QCOMPARE(document.document().format().encoding, TextEncoding::Windows1252);
        document.editor()->setWholeText(document.editor()->crlfText()
                                        + QStringLiteral("put \u4E2D"));
        const ScriptDocument::SaveOutcome outcome = document.saveTo(path);
        QVERIFY(outcome.error.isEmpty());
        QVERIFY(outcome.notice.contains(QStringLiteral("UTF-8")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("say \xE2\x80\x99hi\r\nput \xE4\xB8\xAD"));
    }
    void propertiesApplyOnlyWhenAccepted()
    {
        ScriptedDialogs dialogs;
        ScriptEditor editor(m_services);
        editor.setTabWidth(4);
        for (const bool accept : {false, true}) {
            dialogs.modalAnswers.enqueue([accept](QDialog &dialog) {
                dialog.findChild<QSpinBox *>()->setValue(8);
                return accept;
            });
            EditorPropertiesDialog::showFor(editor, dialogs, nullptr);
            QCOMPARE(editor.tabWidth(), accept ? 8 : 4);
        }
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown.first().kind, QStringLiteral("modal"));
        QVERIFY(dialogs.unexpected.isEmpty());
    }

private:
    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1.cmd").arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write");
        file.write(bytes);
        return path;
    }
    static bool load(ScriptEditor &editor, const QString &path)
    {
        const ReadResult read = readTextFile(path);
        editor.loadUtf8(read.text.utf8, read.text.format.lineEnding);
        return read.error.isEmpty();
    }
    EditorServices m_services;
    DiskFileStore m_store;
    QTemporaryDir m_dir;
    int m_files = 0;
};

QTEST_MAIN(TestScriptEditor)
#include "tst_scripteditor.moc"
