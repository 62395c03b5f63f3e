// The side pane's file list on a folder of 10,000 files (half of them scripts): the time from
// choosing the folder until its lists are filled, icons included.
//   QT_QPA_PLATFORM=offscreen bench_filebrowser [FILES]
#include "FileBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int files = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    const char *suffixes[] = {"cmd", "txt", "WIZ", "log"};
    for (int i = 0; i < files; ++i) {
        QFile file(dir.filePath(
            QStringLiteral("script%1.%2").arg(i).arg(QLatin1StringView(suffixes[i % 4]))));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }
    Korveth::FileBrowser browser;
    browser.resize(200, 600);
    browser.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    browser.setFolder(dir.path());
    QApplication::processEvents();
    (void)browser.grab();
    std::printf("%d files, %d listed: %lld ms until listed and painted\n",
                files,
                browser.files()->count(),
                static_cast<long long>(timer.elapsed()));
    return 0;
}
