#pragma once

#include <QByteArray>
#include <QStringView>

namespace Korveth {

// Writes JSON text directly, for answers too large to build as QJsonObject trees first (a rename
// with half a million edits, a script's every mistake).
class JsonText
{
public:
    JsonText &raw(QByteArrayView text)
    {
        m_bytes += text;
        return *this;
    }
    // The text as a JSON string: quotes, backslashes and control characters escaped.
    JsonText &string(QStringView text);
    JsonText &number(qint64 value)
    {
        m_bytes += QByteArray::number(value);
        return *this;
    }
    QByteArray take() { return std::move(m_bytes); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

} // namespace Korveth
