#pragma once

#include "JsonText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QString>
#include <QUrl>

// The protocol's shapes the language server writes: positions, ranges and locations, as JSON
// objects or straight into JSON text; and the local file a URI names.
namespace Korveth::LspJson {

inline QJsonObject position(int line, qsizetype column)
{
    return {{"line", line}, {"character", int(column)}};
}

inline QJsonObject range(int line, qsizetype column, qsizetype length)
{
    return {{"start", position(line, column)}, {"end", position(line, column + length)}};
}

inline void writeRange(JsonText &json, int line, qsizetype column, qsizetype length)
{
    json.raw("{\"start\":{\"line\":")
        .number(line)
        .raw(",\"character\":")
        .number(column)
        .raw("},\"end\":{\"line\":")
        .number(line)
        .raw(",\"character\":")
        .number(column + length)
        .raw("}}");
}

inline QJsonObject location(const QString &uri, int line, qsizetype column, qsizetype length)
{
    return {{"uri", uri}, {"range", range(line, column, length)}};
}

inline QString localPathOf(const QString &uri)
{
    const QUrl url(uri);
    return url.isLocalFile() ? QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath())
                             : QString();
}

} // namespace Korveth::LspJson
