// Writes a generated script for timing the command-line tools:
//   korveth-make-script realistic|modern|gotos|log LINES FILE
#include "ScriptGenerator.h"

#include <QFile>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: korveth-make-script realistic|modern|gotos|log LINES FILE\n", stderr);
        return 2;
    }
    const int lines = std::atoi(argv[2]);
    const QByteArray text
        = std::strcmp(argv[1], "log") == 0      ? KorvethBench::gameLog(lines)
          : std::strcmp(argv[1], "gotos") == 0  ? KorvethBench::gotoStorm(lines / 3)
          : std::strcmp(argv[1], "modern") == 0 ? KorvethBench::modernScript(lines)
                                                : KorvethBench::realisticScript(lines);
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
