#include "LongStrings.h"

#include "SystemMemory.h"
#include "TextLines.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <cstdint>
#include <cstring>
#include <optional>

namespace Korveth {

namespace {

// Where the JSON string that starts after the quote at `from` ends: its closing quote, or -1. A
// quote is the string's end when an even number of backslashes stands before it.
qsizetype closingQuote(const QByteArray &json, qsizetype from)
{
    const char *data = json.constData();
    const char *end = data + json.size();
    for (const char *at = data + from; at < end; ++at) {
        at = static_cast<const char *>(std::memchr(at, '"', std::size_t(end - at)));
        if (!at)
            return -1;
        qsizetype backslashes = 0;
        while (at - backslashes - 1 >= data + from && at[-backslashes - 1] == '\\')
            ++backslashes;
        if (backslashes % 2 == 0)
            return at - data;
    }
    return -1;
}

// Whether the string that ended just before `at` is a member's name: a colon follows it.
bool isKey(const QByteArray &json, qsizetype at)
{
    while (at < json.size()
           && (json[at] == ' ' || json[at] == '\t' || json[at] == '\n' || json[at] == '\r'))
        ++at;
    return at < json.size() && json[at] == ':';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Appends UTF-8 bytes as UTF-16.
QChar *widen(QChar *out, const char *in, qsizetype n)
{
    const qsizetype i = widenAscii(QByteArrayView(in, n), out);
    if (i == n)
        return out + n;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return decoder.appendToBuffer(out + i, QByteArrayView(in + i, n - i));
}

// The content of a JSON string (between its quotes) decoded, or nothing when it is not
// well-formed.
std::optional<QString> decoded(const char *in, qsizetype n)
{
    QString text(n + 1, Qt::Uninitialized); // never more units than bytes
    QChar *const start = text.data();
    preferHugePages(start, std::size_t(n) * sizeof(QChar));
    QChar *out = start;
    qsizetype run = 0; // where the bytes not yet copied begin
    // Raw control characters, which JSON forbids in a string, are taken as they are.
    for (qsizetype i = 0; i < n; ++i) {
        const void *escape = std::memchr(in + i, '\\', std::size_t(n - i));
        if (!escape)
            break;
        i = static_cast<const char *>(escape) - in;
        out = widen(out, in + run, i - run);
        if (i + 1 >= n)
            return std::nullopt;
        const char e = in[++i];
        switch (e) {
        case '"':
            *out++ = u'"';
            break;
        case '\\':
            *out++ = u'\\';
            break;
        case '/':
            *out++ = u'/';
            break;
        case 'b':
            *out++ = u'\b';
            break;
        case 'f':
            *out++ = u'\f';
            break;
        case 'n':
            *out++ = u'\n';
            break;
        case 'r':
            *out++ = u'\r';
            break;
        case 't':
            *out++ = u'\t';
            break;
        case 'u': {
            if (i + 4 >= n)
                return std::nullopt;
            int unit = 0;
            for (int k = 1; k <= 4; ++k) {
                const int digit = hexValue(in[i + k]);
                if (digit < 0)
                    return std::nullopt;
                unit = unit * 16 + digit;
            }
            *out++ = QChar(char16_t(unit)); // a surrogate pair arrives as its two halves
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
        run = i + 1;
    }
    out = widen(out, in + run, n - run);
    text.truncate(out - start);
    return text;
}

} // namespace

LongStrings::LongStrings(qsizetype threshold)
    : m_threshold(threshold)
    , m_prefix(QStringLiteral("\u0001korveth-long-string-%1:")
                   .arg(QRandomGenerator::global()->generate64(), 0, 36))
{}

QByteArray LongStrings::lift(const QByteArray &json)
{
    m_strings.clear();
    if (json.size() < m_threshold)
        return json;
    QByteArray out;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < json.size(); ++i) {
        if (json[i] != '"')
            continue;
        const qsizetype end = closingQuote(json, i + 1);
        if (end < 0)
            break;
        if (end - i - 1 >= m_threshold && !isKey(json, end + 1)) {
            if (auto text = decoded(json.constData() + i + 1, end - i - 1)) {
                out.append(json.constData() + copied, i - copied);
                const QString standIn = m_prefix + QString::number(m_strings.size());
                out.append('"').append(standIn.toUtf8().replace("\u0001", "\\u0001")).append('"');
                copied = end + 1;
                m_strings.push_back(std::move(*text));
            }
        }
        i = end;
    }
    if (copied == 0)
        return json;
    out.append(json.constData() + copied, json.size() - copied);
    return out;
}

QString LongStrings::textOf(const QJsonValue &value) const
{
    const QString text = value.toString();
    if (m_strings.empty() || !text.startsWith(m_prefix))
        return text;
    bool ok = false;
    const auto index = text.sliced(m_prefix.size()).toULongLong(&ok);
    return ok && index < m_strings.size() ? m_strings[index] : text;
}

} // namespace Korveth
