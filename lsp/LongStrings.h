#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <vector>

namespace Korveth {

// A document's whole text arrives as one JSON string; Qt's JSON reader spends more on a string
// of megabytes than the checker spends on the script. So before a message is parsed its long
// strings are taken out and decoded straight into UTF-16 here, each replaced by a short stand-in
// that textOf() recognises.
class LongStrings
{
public:
    static constexpr qsizetype defaultThreshold = 64 * 1024;

    explicit LongStrings(qsizetype threshold = defaultThreshold);

    // The message with its long strings replaced; a string that is not well-formed JSON stays,
    // for the JSON reader to report.
    QByteArray lift(const QByteArray &json);
    // The string a value stands for: a lifted one, or its own.
    QString textOf(const QJsonValue &value) const;

private:
    qsizetype m_threshold;
    QString m_prefix; // a stand-in's start: unlikely in a real text, different per process
    std::vector<QString> m_strings;
};

} // namespace Korveth
