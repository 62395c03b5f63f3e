#include "CheckCommand.h"

#include "LibraryReferences.h"

#include "CheckRun.h"
#include "MistakeFormats.h"
#include "ModernChecker.h"
#include "Output.h"
#include "RegularFile.h"
#include "ReportSink.h"
#include "ScriptChecker.h"
#include "ScriptJudging.h"
#include "ScriptLanguage.h"
#include "TextFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <optional>

namespace Korveth {

namespace {

constexpr const char *usageText
    = "Usage: korveth-check [--format report|gcc|json|sarif] [--dialect classic|modern|auto]\n"
      "                     [--scripts-dir DIR] FILE...\n"
      "Checks game scripts line by line, as the Script Debugger does.\n"
      "\n"
      "  --format report  every line with its verdict, then the summary (default)\n"
      "  --format gcc     only the mistakes, as PATH:LINE:COLUMN: warning: MESSAGE\n"
      "  --format json    only the mistakes, as a JSON array of objects (file, uri: the file\n"
      "                   name's bytes percent-encoded, line, column, endColumn, severity,\n"
      "                   rule, message)\n"
      "  --format sarif   only the mistakes, as SARIF 2.1.0 for code-scanning tools\n"
      "                   Columns count from 1 in UTF-16 units, as the language server's do.\n"
      "  --dialect classic  the original command set (default)\n"
      "  --dialect modern   today's dialect: variables, gosub, if ... then, blocks, matchre,\n"
      "                     actions; labels are looked for in included scripts too\n"
      "  --dialect auto     modern for a script that uses a modern-only command, else classic\n"
      "  --with-includers   check too every script of the library that includes one of the\n"
      "                     files, directly or not (a label taken out of a shared script\n"
      "                     breaks its includers)\n"
      "  --scripts-dir DIR  the library's root: an include is looked for beside the script,\n"
      "                     then in each folder above it up to DIR (default: the highest\n"
      "                     folder above the script reached through folders of scripts, or\n"
      "                     the one holding .git)\n"
      "  --help           show this help\n"
      "  --version        show the version\n"
      "\n"
      "FILE may be - for standard input.\n"
      "Exit status: 0 no mistakes, 1 mistakes found, 2 a file could not be read, the output\n"
      "could not be written, or bad usage.\n";

enum class Format { Report, Gcc, Json, Sarif };

struct Source
{
    FileName name;
    QString path;
    QByteArray utf8; // decoded as the editor decodes a file
    QString error;
};

// File names are bytes on this system: a name that is not valid in the locale's encoding still
// opens as given, and is shown as near as the encoding allows.
Source readSource(const QByteArray &rawPath, std::FILE *in)
{
    Source source{
        {rawPath, QString::fromLocal8Bit(rawPath)}, QString::fromLocal8Bit(rawPath), {}, {}};
    if (rawPath != "-") {
        const FileBytes read = readRegularFileNative(rawPath);
        if (!read.error.isEmpty())
            source.error = read.error;
        else
            source.utf8 = decodeText(read.bytes, LineEndDetection::Skip).utf8;
        return source;
    }
    QFile input;
    if (!input.open(in, QIODevice::ReadOnly)) {
        source.error = input.errorString();
        return source;
    }
    source.utf8 = decodeText(input.readAll(), LineEndDetection::Skip).utf8;
    if (input.error() != QFileDevice::NoError)
        source.error = input.errorString();
    return source;
}

// Checks one file; returns true when it has an error verdict. Mistakes go to the writer, unless
// the whole report is asked for.
struct Run
{
    DialectChoice dialect = DialectChoice::Classic;
    QString scriptsDir; // empty: each script's library root
    ScriptLibrary library;
};

// The files given, then every script of their libraries that includes one of them, directly or
// not, in path order: a label taken out of a shared script breaks its includers, not itself.
QList<QByteArray> withTheirIncluders(const QList<QByteArray> &files, Run &run)
{
    QList<QByteArray> all = files;
    QSet<QString> listed;
    for (const QByteArray &raw : files)
        listed.insert(QFileInfo(QFile::decodeName(raw)).absoluteFilePath());
    const QDir here = QDir::current();
    for (const QByteArray &raw : files) {
        if (raw == "-")
            continue;
        const QFileInfo given(QFile::decodeName(raw));
        const QString root = !run.scriptsDir.isEmpty()
                                 ? run.scriptsDir
                                 : run.library.libraryRootOf(given.absolutePath());
        LibraryReferences library(run.library, root);
        for (const QString &includer : library.scriptsSeeing(given.absoluteFilePath())) {
            if (listed.contains(includer))
                continue;
            listed.insert(includer);
            const QString relative = here.relativeFilePath(includer);
            all.append(QFile::encodeName(relative.startsWith(u"../") ? includer : relative));
        }
    }
    return all;
}

bool checkSource(const Source &source, Run &run, Output &out, MistakeWriter *mistakes)
{
    // The text stays UTF-8 and each line becomes characters only while it is judged. The lines
    // are cut as the editor cuts them, which is how the debugger sees them too.
    // Includes are looked for from the file's folder up; for standard input, from the working
    // folder.
    const QString folder
        = source.path == u"-" ? QDir::currentPath() : QFileInfo(source.path).absolutePath();
    // The classic dialect has no includes: no folder need be listed for it.
    const QString root = !run.scriptsDir.isEmpty() ? run.scriptsDir
                         : run.dialect == DialectChoice::Classic
                             ? QString()
                             : run.library.libraryRootOf(folder);
    const IncludeSearch search(folder, root);
    const DialectChoice dialect = run.dialect;
    Dialect chosen = Dialect::Classic;
    const std::unique_ptr<LineChecker> owned
        = makeChecker(source.utf8, dialect, search, &chosen, &run.library, Threads::Two);
    LineChecker &checker = *owned;

    const CheckSummary summary = judgeScript(checker, source.utf8, source.name, out, mistakes);
    if (!mistakes) {
        PlainReport report(out);
        writeSummary(summary, report);
        out.write(u"\n");
        if (dialect == DialectChoice::Auto)
            out.write(chosen == Dialect::Modern ? u"Dialect: modern\n" : u"Dialect: classic\n");
    }
    return summary.errorCount > 0;
}

template<typename T> using Choices = std::initializer_list<std::pair<QStringView, T>>;

const Choices<Format> formats{{u"report", Format::Report},
                              {u"gcc", Format::Gcc},
                              {u"json", Format::Json},
                              {u"sarif", Format::Sarif}};
const Choices<DialectChoice> dialects{{u"classic", DialectChoice::Classic},
                                      {u"modern", DialectChoice::Modern},
                                      {u"auto", DialectChoice::Auto}};

// "--name" or "--name=value".
bool isOption(const QString &arg, QStringView option)
{
    return arg == option || (arg.startsWith(option) && arg.sliced(option.size()).startsWith(u'='));
}

// The value of the option at i, given as "--name value" (i moves past it) or "--name=value",
// mapped through the choices; nothing, with a message, when it is missing or unknown.
template<typename T>
std::optional<T> optionChoice(const QStringList &arguments,
                              qsizetype &i,
                              QStringView name,
                              Choices<T> choices,
                              const char *listing,
                              std::FILE *err)
{
    const QString &arg = arguments[i];
    QString value;
    if (arg.contains(u'=')) {
        value = arg.sliced(arg.indexOf(u'=') + 1);
    } else if (++i < arguments.size()) {
        value = arguments[i];
    } else {
        std::fprintf(
            err, "korveth-check: --%s needs a value: %s\n", qPrintable(name.toString()), listing);
        return std::nullopt;
    }
    for (const auto &[word, chosen] : choices) {
        if (value == word)
            return chosen;
    }
    std::fprintf(
        err, "korveth-check: unknown %s '%s'\n", qPrintable(name.toString()), qPrintable(value));
    return std::nullopt;
}

void printUsage(std::FILE *stream)
{
    std::fputs(usageText, stream);
}

} // namespace

int runCheckCommand(const QList<QByteArray> &rawArguments,
                    std::FILE *in,
                    std::FILE *out,
                    std::FILE *err)
{
    Format format = Format::Report;
    Run run;
    QList<QByteArray> files;
    bool withIncluders = false;
    bool optionsEnded = false;
    QStringList arguments;
    for (const QByteArray &raw : rawArguments)
        arguments.append(QString::fromLocal8Bit(raw));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || arg == u"-" || !arg.startsWith(u'-')) {
            files.append(rawArguments[i]);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"--help" || arg == u"-h") {
            printUsage(out);
            return 0;
        } else if (arg == u"--version") {
            std::fputs("korveth-check " KORVETH_VERSION "\n", out);
            return 0;
        } else if (isOption(arg, u"--format")) {
            const auto chosen
                = optionChoice(arguments, i, u"format", formats, "report, gcc, json or sarif", err);
            if (!chosen) {
                printUsage(err);
                return 2;
            }
            format = *chosen;
        } else if (isOption(arg, u"--dialect")) {
            const auto chosen
                = optionChoice(arguments, i, u"dialect", dialects, "classic, modern or auto", err);
            if (!chosen) {
                printUsage(err);
                return 2;
            }
            run.dialect = *chosen;
        } else if (arg == u"--with-includers") {
            withIncluders = true;
        } else if (isOption(arg, u"--scripts-dir")) {
            QString value;
            if (arg.contains(u'='))
                value = arg.sliced(arg.indexOf(u'=') + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            if (value.isEmpty() || !QFileInfo(value).isDir()) {
                std::fprintf(err, "korveth-check: --scripts-dir needs a folder\n");
                printUsage(err);
                return 2;
            }
            run.scriptsDir = QFileInfo(value).absoluteFilePath();
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
    std::unique_ptr<MistakeWriter> mistakes;
    if (format != Format::Report)
        mistakes = makeMistakeWriter(format == Format::Json    ? MistakeFormat::Json
                                     : format == Format::Sarif ? MistakeFormat::Sarif
                                                               : MistakeFormat::Gcc,
                                     output);
    if (withIncluders)
        files = withTheirIncluders(files, run);
    bool anyError = false;
    bool anyUnreadable = false;
    for (const QByteArray &rawPath : files) {
        Source source = readSource(rawPath, in);
        const QString &path = source.path;
        if (!source.error.isEmpty()) {
            output.flush();
            std::fprintf(err,
                         "korveth-check: cannot read '%s': %s\n",
                         rawPath.constData(),
                         qPrintable(source.error));
            if (mistakes)
                mistakes->unreadable(source.name, source.error);
            anyUnreadable = true;
            continue;
        }
        if (files.size() > 1 && format == Format::Report) {
            output.write(u"== ");
            output.write(path);
            output.write(u" ==\n");
        }
        anyError = checkSource(source, run, output, mistakes.get()) || anyError;
    }
    if (mistakes)
        mistakes->finish();
    if (const QString failure = output.finish(); !failure.isEmpty()) {
        std::fprintf(err, "korveth-check: cannot write the output: %s\n", qPrintable(failure));
        return 2;
    }
    if (anyUnreadable)
        return 2;
    return anyError ? 1 : 0;
}

} // namespace Korveth
