#pragma once

#include <QDir>
#include <QString>
#include <QTest>

// The real player scripts beside the project (../shared/corpus), which are not ours to copy. A
// test that reads them runs as a CTest entry of its own (tests/CMakeLists.txt names it
// *_corpus), which says where they are and counts a missing folder as a skip, not a pass; in the
// test program's full run it leaves them to that entry.
#define KORVETH_CORPUS_OR_SKIP(folder)                                                             \
    const QString folder = qEnvironmentVariable("KORVETH_CORPUS");                                 \
    if (folder.isEmpty())                                                                          \
        QSKIP("reads the real scripts: run as its own entry (ctest -R corpus)");                   \
    if (!QDir(folder).exists())                                                                    \
    QSKIP(qPrintable(QStringLiteral("SKIPPED: no script corpus at %1").arg(folder)))
