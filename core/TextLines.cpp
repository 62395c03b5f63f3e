#include "TextLines.h"

namespace Korveth {

QList<QStringView> splitAtCrLf(QStringView text)
{
    QList<QStringView> lines;
    forEachCrLfLine(text, [&](QStringView line) { lines.append(line); });
    return lines;
}

QList<QStringView> splitEditorLines(QStringView text)
{
    QList<QStringView> lines;
    forEachEditorLine(text, [&](QStringView line, QStringView) { lines.append(line); });
    return lines;
}

QString joinWithCrLf(const QList<QStringView> &lines)
{
    qsizetype size = 0;
    for (QStringView line : lines)
        size += line.size() + 2;
    QString joined;
    joined.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += u"\r\n";
        joined += lines[i];
    }
    return joined;
}

QByteArray withLineEnds(QByteArrayView utf8, QByteArrayView lineEnd)
{
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 16);
    forEachEditorLine(utf8, [&](QByteArrayView line, QByteArrayView end) {
        out += line;
        if (!end.isEmpty())
            out += lineEnd;
    });
    return out;
}

} // namespace Korveth
