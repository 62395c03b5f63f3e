#pragma once

#include "DocumentManager.h"
#include "DocumentTabs.h"
#include "EditorServices.h"
#include "FailingFileStore.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A main window started as the program starts it, with a person replaced by ScriptedDialogs, a
// file store that fails on demand and a temporary program folder for the files a test writes.
// A test that leaves a question unanswered, or is shown one it did not expect, fails.
struct MainWindowFixture
{
    explicit MainWindowFixture(const QStringList &arguments = {})
    {
        window = std::make_unique<Korveth::MainWindow>(
            Korveth::ProgramServices{dialogs, editors, files, Korveth::ProgramPaths(dir.path())});
        window->show();
        window->startUp(arguments);
    }

    ~MainWindowFixture()
    {
        // Whatever is still open closes without questions.
        for (Korveth::DocumentWindow *document : docs().openDocuments())
            document->document().setChanged(false);
        window.reset();
        if (!dialogs.unexpected.isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("unexpected dialogs: ")
                                    + dialogs.unexpected.join(QStringLiteral(" | "))),
                         __FILE__,
                         __LINE__);
        else if (!unanswered().isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("answers left unused: ") + unanswered()),
                         __FILE__,
                         __LINE__);
    }

    // What a test queued and the program never asked for.
    QString unanswered() const
    {
        QStringList left;
        if (!dialogs.answers.isEmpty())
            left << QStringLiteral("%1 answer(s)").arg(dialogs.answers.size());
        if (!dialogs.fileNames.isEmpty())
            left << QStringLiteral("%1 file name(s)").arg(dialogs.fileNames.size());
        if (!dialogs.values.isEmpty())
            left << QStringLiteral("%1 value(s)").arg(dialogs.values.size());
        if (!dialogs.modalAnswers.isEmpty())
            left << QStringLiteral("%1 modal answer(s)").arg(dialogs.modalAnswers.size());
        return left.join(QStringLiteral(", "));
    }

    Korveth::DocumentManager &docs() const { return window->documents(); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return path;
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    Korveth::ScriptedDialogs dialogs;
    Korveth::EditorServices editors;
    FailingFileStore files;
    std::unique_ptr<Korveth::MainWindow> window;
};
