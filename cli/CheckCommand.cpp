#include "CheckCommand.h"

#include "CheckRun.h"
#include "ReportSink.h"
#include "ScriptChecker.h"
#include "ScriptLanguage.h"
#include "TextFile.h"

#include <QByteArray>
#include <QFile>

namespace Korveth {

namespace {

constexpr const char *usageText
    = "Usage: korveth-check [--format report|gcc] FILE...\n"
      "Checks game scripts line by line, as the Script Debugger does.\n"
      "\n"
      "  --format report  every line with its verdict, then the summary (default)\n"
      "  --format gcc     only the mistakes, as PATH:LINE:COLUMN: warning: MESSAGE\n"
      "  --help           show this help\n"
      "  --version        show the version\n"
      "\n"
      "FILE may be - for standard input.\n"
      "Exit status: 0 no mistakes, 1 mistakes found, 2 a file could not be read or bad usage.\n";

enum class Format { Report, Gcc };

// Buffers output and writes it as UTF-8 in large pieces: reports can be as long as the script.
class Output
{
public:
    explicit Output(std::FILE *stream)
        : m_stream(stream)
    {}
    ~Output() { flush(); }

    void write(QStringView text)
    {
        m_buffer += text;
        if (m_buffer.size() > (1 << 20))
            flush();
    }
    void write(QLatin1StringView text) { m_buffer += text; }
    void flush()
    {
        const QByteArray bytes = m_buffer.toUtf8();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_stream);
        m_buffer.clear();
    }

private:
    std::FILE *m_stream;
    QString m_buffer;
};

// The debugger's report as plain text lines: colours carry no meaning here.
class PlainReport final : public ReportSink
{
public:
    explicit PlainReport(Output &out)
        : m_out(out)
    {}
    void appendText(QStringView text) override { m_out.write(text); }
    void appendLineBreak() override { m_out.write(u"\n"); }
    void setColor(ReportColor) override {}

private:
    Output &m_out;
};

struct Source
{
    QString path;
    QByteArray utf8; // decoded as the editor decodes a file
    QString error;
};

Source readSource(const QString &path, std::FILE *in)
{
    Source source{path, {}, {}};
    if (path != u"-") {
        ReadResult read = readTextFile(path);
        source.utf8 = std::move(read.text.utf8);
        source.error = read.error;
        return source;
    }
    QFile input;
    if (!input.open(in, QIODevice::ReadOnly)) {
        source.error = input.errorString();
        return source;
    }
    source.utf8 = decodeText(input.readAll()).utf8;
    if (input.error() != QFileDevice::NoError)
        source.error = input.errorString();
    return source;
}

// Checks one file; returns true when it has an error verdict.
bool checkSource(const Source &source, Format format, Output &out)
{
    const QString fileText = QString::fromUtf8(source.utf8);
    const QList<QStringView> lines = splitEditorLines(fileText);
    const QString scriptText = joinWithCrLf(lines);
    ScriptChecker checker(scriptText);

    if (format == Format::Report) {
        PlainReport report(out);
        const CheckSummary summary = runCheck(scriptText, checker, report);
        writeSummary(summary, report);
        out.write(u"\n");
        return summary.errorCount > 0;
    }

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LineVerdicts verdicts = checker.judge(lines[i]);
        checker.recordVerdicts(verdicts);
        if (verdicts.errorCount() == 0)
            continue;
        const QString position = source.path + u':' + QString::number(i + 1) + u':'
                                 + QString::number(leadingBlankCount(lines[i]) + 1)
                                 + QStringLiteral(": warning: ");
        for (const auto &verdict : {verdicts.first, verdicts.second}) {
            if (verdict && verdict->error) {
                out.write(position);
                out.write(verdict->message);
                out.write(u"\n");
            }
        }
    }
    return checker.ErrorCount > 0;
}

void printUsage(std::FILE *stream)
{
    std::fputs(usageText, stream);
}

} // namespace

int runCheckCommand(const QStringList &arguments, std::FILE *in, std::FILE *out, std::FILE *err)
{
    Format format = Format::Report;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || arg == u"-" || !arg.startsWith(u'-')) {
            files.append(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--help" || arg == u"-h") {
            printUsage(out);
            return 0;
        } else if (arg == u"--version") {
            std::fputs("korveth-check " KORVETH_VERSION "\n", out);
            return 0;
        } else if (arg == u"--format" || arg.startsWith(u"--format=")) {
            QString value;
            if (arg == u"--format") {
                if (++i >= arguments.size()) {
                    std::fputs("korveth-check: --format needs a value: report or gcc\n", err);
                    printUsage(err);
                    return 2;
                }
                value = arguments[i];
            } else {
                value = arg.mid(9);
            }
            if (value == u"report") {
                format = Format::Report;
            } else if (value == u"gcc") {
                format = Format::Gcc;
            } else {
                std::fprintf(err, "korveth-check: unknown format '%s'\n", qPrintable(value));
                printUsage(err);
                return 2;
            }
        } else {
            std::fprintf(err, "korveth-check: unknown option '%s'\n", qPrintable(arg));
            printUsage(err);
            return 2;
        }
    }
    if (files.isEmpty()) {
        std::fputs("korveth-check: no FILE given\n", err);
        printUsage(err);
        return 2;
    }

    Output output(out);
    bool anyError = false;
    bool anyUnreadable = false;
    for (const QString &path : files) {
        const Source source = readSource(path, in);
        if (!source.error.isEmpty()) {
            output.flush();
            std::fprintf(err,
                         "korveth-check: cannot read '%s': %s\n",
                         qPrintable(path),
                         qPrintable(source.error));
            anyUnreadable = true;
            continue;
        }
        if (files.size() > 1 && format == Format::Report) {
            output.write(u"== ");
            output.write(path);
            output.write(u" ==\n");
        }
        anyError = checkSource(source, format, output) || anyError;
    }
    output.flush();
    std::fflush(out);
    if (anyUnreadable)
        return 2;
    return anyError ? 1 : 0;
}

} // namespace Korveth
