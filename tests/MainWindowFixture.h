#pragma once

#include "DocumentManager.h"
#include "DocumentTabs.h"
#include "ProgramPaths.h"
#include "ScriptedDialogs.h"
#include "frmMain.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A main window started as the program starts it, with a person replaced by ScriptedDialogs and
// a temporary folder for the files a test writes.
struct MainWindowFixture
{
    explicit MainWindowFixture(const QString &commandLine = {})
    {
        Korveth::ProgramPaths::overrideProgramFolder(dir.path());
        window = std::make_unique<Korveth::frmMain>(dialogs);
        window->show();
        window->startUp(commandLine);
    }

    ~MainWindowFixture()
    {
        // Whatever is still open closes without questions.
        for (Korveth::frmDoc *document : docs().openDocuments())
            document->Changed = false;
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
    std::unique_ptr<Korveth::frmMain> window;
};
