#include "MistakeFormats.h"

#include "JsonText.h"
#include "Output.h"

#include <QList>

namespace Korveth {

namespace {

// A JSON string: quotes, backslashes and control characters escaped.
void writeJsonString(Output &out, QStringView text)
{
    out.writeUtf8(JsonText().string(text).bytes());
}

// A file name as a URI reference, from its bytes: relative paths stay relative, as code
// scanning wants them, and a byte that is not UTF-8 stays itself (%E9), not U+FFFD.
QString uriOf(const QByteArray &path)
{
    return QString::fromLatin1(path.toPercentEncoding("/"));
}

void writeNumber(Output &out, qsizetype number)
{
    out.write(QString::number(number));
}

// PATH:LINE:COLUMN: warning: MESSAGE, as compilers write it and editors jump to it.
class GccWriter final : public MistakeWriter
{
public:
    explicit GccWriter(Output &out)
        : m_out(out)
    {}
    void mistake(const FileName &file, const MistakePlace &place) override
    {
        m_out.writeUtf8(file.bytes); // the name's own bytes, for tools that open it
        m_out.write(u":");
        writeNumber(m_out, place.line);
        m_out.write(u":");
        writeNumber(m_out, place.column);
        m_out.write(u": warning: ");
        m_out.write(verdictText(place.kind));
        m_out.write(u"\n");
    }

private:
    Output &m_out;
};

// One array, a mistake an object on a line of its own.
class JsonWriter final : public MistakeWriter
{
public:
    explicit JsonWriter(Output &out)
        : m_out(out)
    {
        m_out.write(u"[");
    }
    void mistake(const FileName &file, const MistakePlace &place) override
    {
        m_out.write(m_first ? u"\n{\"file\":" : u",\n{\"file\":");
        m_first = false;
        writeJsonString(m_out, file.shown);
        m_out.write(u",\"uri\":");
        writeJsonString(m_out, uriOf(file.bytes));
        m_out.write(u",\"line\":");
        writeNumber(m_out, place.line);
        m_out.write(u",\"column\":");
        writeNumber(m_out, place.column);
        m_out.write(u",\"endColumn\":");
        writeNumber(m_out, place.endColumn);
        m_out.write(u",\"severity\":\"warning\",\"rule\":");
        writeJsonString(m_out, mistakeRule(place.kind));
        m_out.write(u",\"message\":");
        writeJsonString(m_out, verdictText(place.kind));
        m_out.write(u"}");
    }
    void finish() override { m_out.write(u"\n]\n"); }

private:
    Output &m_out;
    bool m_first = true;
};

// SARIF 2.1.0, the format code-scanning services read: one run, every rule described once.
class SarifWriter final : public MistakeWriter
{
public:
    explicit SarifWriter(Output &out)
        : m_out(out)
    {
        m_out.write(u"{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\","
                    u"\"version\":\"2.1.0\",\"runs\":[{\"tool\":{\"driver\":{"
                    u"\"name\":\"korveth-check\",\"version\":\"" KORVETH_VERSION "\","
                    u"\"rules\":[");
        for (int kind = firstMistake; kind <= lastMistake; ++kind) {
            m_out.write(kind == firstMistake ? u"\n{\"id\":" : u",\n{\"id\":");
            writeJsonString(m_out, mistakeRule(VerdictKind(kind)));
            m_out.write(u",\"shortDescription\":{\"text\":");
            writeJsonString(m_out, verdictText(VerdictKind(kind)));
            m_out.write(u"},\"defaultConfiguration\":{\"level\":\"warning\"}}");
        }
        m_out.write(u"]}},\"columnKind\":\"utf16CodeUnits\",\"results\":[");
    }
    void mistake(const FileName &file, const MistakePlace &place) override
    {
        m_out.write(m_first ? u"\n{\"ruleId\":" : u",\n{\"ruleId\":");
        m_first = false;
        writeJsonString(m_out, mistakeRule(place.kind));
        m_out.write(u",\"ruleIndex\":");
        writeNumber(m_out, int(place.kind) - firstMistake);
        m_out.write(u",\"level\":\"warning\",\"message\":{\"text\":");
        writeJsonString(m_out, verdictText(place.kind));
        m_out.write(u"},\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":");
        writeJsonString(m_out, uriOf(file.bytes));
        m_out.write(u"},\"region\":{\"startLine\":");
        writeNumber(m_out, place.line);
        m_out.write(u",\"startColumn\":");
        writeNumber(m_out, place.column);
        m_out.write(u",\"endColumn\":");
        writeNumber(m_out, place.endColumn);
        m_out.write(u"}}}]}");
    }
    void unreadable(const FileName &file, const QString &reason) override
    {
        m_unreadable.append({file.bytes, reason});
    }
    // The files that could not be read are the run's tool execution notifications, and make it
    // unsuccessful: a code-scanning service shows why they have no results.
    void finish() override
    {
        m_out.write(u"\n],\"invocations\":[{\"executionSuccessful\":");
        m_out.write(m_unreadable.isEmpty() ? u"true" : u"false");
        m_out.write(u",\"toolExecutionNotifications\":[");
        for (qsizetype i = 0; i < m_unreadable.size(); ++i) {
            const auto &[path, reason] = m_unreadable[i];
            m_out.write(i == 0 ? u"\n{\"level\":\"error\",\"message\":{\"text\":"
                               : u",\n{\"level\":\"error\",\"message\":{\"text\":");
            writeJsonString(m_out, QStringLiteral("cannot read the file: ") + reason);
            m_out.write(u"},\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":");
            writeJsonString(m_out, uriOf(path));
            m_out.write(u"}}}]}");
        }
        m_out.write(u"]}]}]}\n");
    }

private:
    Output &m_out;
    bool m_first = true;
    QList<std::pair<QByteArray, QString>> m_unreadable;
};

} // namespace

std::unique_ptr<MistakeWriter> makeMistakeWriter(MistakeFormat format, Output &out)
{
    switch (format) {
    case MistakeFormat::Json:
        return std::make_unique<JsonWriter>(out);
    case MistakeFormat::Sarif:
        return std::make_unique<SarifWriter>(out);
    case MistakeFormat::Gcc:
        break;
    }
    return std::make_unique<GccWriter>(out);
}

} // namespace Korveth
