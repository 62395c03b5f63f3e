#include "RunProgram.h"

#include "SystemMemory.h"
#include "ModernWords.h"
#include "RunValues.h"
#include "ScriptLanguage.h"
#include "TextLines.h"

#include <QFileInfo>

#include <algorithm>

namespace Korveth {

namespace {

// Deeper than any real library nests; a cycle stops at the first script seen again.
constexpr int maxIncludeDepth = 16;

struct CommandName
{
    QLatin1StringView word;
    RunProgram::Command command;
};

constexpr CommandName commandNames[] = {
    {QLatin1StringView("put"), RunProgram::Command::Put},
    {QLatin1StringView("send"), RunProgram::Command::Send},
    {QLatin1StringView("echo"), RunProgram::Command::Echo},
    {QLatin1StringView("exit"), RunProgram::Command::Exit},
    {QLatin1StringView("goto"), RunProgram::Command::Goto},
    {QLatin1StringView("counter"), RunProgram::Command::Counter},
    {QLatin1StringView("save"), RunProgram::Command::Save},
    {QLatin1StringView("shift"), RunProgram::Command::Shift},
    {QLatin1StringView("match"), RunProgram::Command::Match},
    {QLatin1StringView("matchre"), RunProgram::Command::Matchre},
    {QLatin1StringView("matchwait"), RunProgram::Command::Matchwait},
    {QLatin1StringView("waitfor"), RunProgram::Command::Waitfor},
    {QLatin1StringView("waitforre"), RunProgram::Command::Waitforre},
    {QLatin1StringView("waiteval"), RunProgram::Command::Waiteval},
    {QLatin1StringView("move"), RunProgram::Command::Move},
    {QLatin1StringView("nextroom"), RunProgram::Command::Nextroom},
    {QLatin1StringView("wait"), RunProgram::Command::Wait},
    {QLatin1StringView("pause"), RunProgram::Command::Pause},
    {QLatin1StringView("delay"), RunProgram::Command::Delay},
    {QLatin1StringView("if"), RunProgram::Command::If},
    {QLatin1StringView("elseif"), RunProgram::Command::Elseif},
    {QLatin1StringView("else"), RunProgram::Command::Else},
    {QLatin1StringView("gosub"), RunProgram::Command::Gosub},
    {QLatin1StringView("return"), RunProgram::Command::Return},
    {QLatin1StringView("var"), RunProgram::Command::Var},
    {QLatin1StringView("setvariable"), RunProgram::Command::Var},
    {QLatin1StringView("setvar"), RunProgram::Command::Var},
    {QLatin1StringView("unvar"), RunProgram::Command::Unvar},
    {QLatin1StringView("deletevariable"), RunProgram::Command::Unvar},
    {QLatin1StringView("math"), RunProgram::Command::Math},
    {QLatin1StringView("eval"), RunProgram::Command::Eval},
    {QLatin1StringView("evalmath"), RunProgram::Command::Evalmath},
    {QLatin1StringView("random"), RunProgram::Command::Random},
    {QLatin1StringView("timer"), RunProgram::Command::Timer},
    {QLatin1StringView("action"), RunProgram::Command::Action},
    {QLatin1StringView("include"), RunProgram::Command::Ignored},
    {QLatin1StringView("debug"), RunProgram::Command::Ignored},
    {QLatin1StringView("debuglevel"), RunProgram::Command::Ignored},
    {QLatin1StringView("js"), RunProgram::Command::Js},
    {QLatin1StringView("jscall"), RunProgram::Command::Js},
};

} // namespace

RunProgram::Command RunProgram::commandOf(QStringView word)
{
    if (word.contains(u'%') || word.contains(u'$'))
        return Command::Dynamic;
    if (word.size() == 4 && word.startsWith(u"if_", Qt::CaseInsensitive) && word[3].isDigit())
        return Command::IfArgument;
    for (const CommandName &name : commandNames) {
        if (equalsWord(word, name.word))
            return name.command;
    }
    return Command::Unknown;
}

bool RunProgram::isClassic(Command command)
{
    switch (command) {
    case Command::Put:
    case Command::Echo:
    case Command::Exit:
    case Command::Goto:
    case Command::IfArgument:
    case Command::Counter:
    case Command::Save:
    case Command::Shift:
    case Command::Match:
    case Command::Matchwait:
    case Command::Waitfor:
    case Command::Move:
    case Command::Wait:
    case Command::Pause:
        return true;
    default:
        return false;
    }
}

bool RunProgram::waits(Command command)
{
    switch (command) {
    case Command::Match:
    case Command::Matchre:
    case Command::Matchwait:
    case Command::Waitfor:
    case Command::Waitforre:
    case Command::Waiteval:
    case Command::Move:
    case Command::Nextroom:
    case Command::Wait:
    case Command::Pause:
    case Command::Delay:
        return true;
    default:
        return false;
    }
}

RunProgram::RunProgram(QString scriptText,
                       Dialect dialect,
                       const IncludeSearch &search,
                       ScriptLibrary *library)
    : m_dialect(dialect)
    , m_search(search)
    , m_library(library)
{
    QStringList seen;
    m_lines.reserve(std::size_t(scriptText.count(u'\n') + scriptText.count(u'\r') + 1));
    preferHugePages(m_lines.data(), m_lines.capacity() * sizeof(Line));
    m_texts.append(std::move(scriptText));
    add(m_texts.constLast(), 0, 0, seen);
    // The parts #REQUIRE names follow the script, as the libraries that use them assemble their
    // scripts: each part starts with its own gosub and exit, so at the top it would end the run.
    for (qsizetype i = 0; i < m_required.size(); ++i) {
        const Required required = m_required[i]; // the list grows as parts require more
        putIn(required.name, required.at, required.file, required.depth, seen);
    }
    findBlocks();
    prepareJumps();
}

void RunProgram::prepareJumps()
{
    auto jumps = [](const Line &line) {
        const Command command = line.command;
        return !line.hasValues
               && (command == Command::Match || command == Command::Matchre
                   || command == Command::Goto || command == Command::Gosub);
    };
    // Room for all at once: a script of a million lines has hundreds of thousands.
    m_jumps.reserve(std::size_t(std::count_if(m_lines.begin(), m_lines.end(), jumps)));
    preferHugePages(m_jumps.data(), m_jumps.capacity() * sizeof(Jump));
    for (Line &line : m_lines) {
        if (!jumps(line))
            continue;
        const Command command = line.command;
        const auto [label, argument] = firstWordAndRest(firstWordAndRest(line.text()).second);
        Jump jump{label, labelLine(label)};
        if (command == Command::Match) {
            jump.text = argument;
            jump.folded = FoldedText(argument);
        } else if (command == Command::Matchre) {
            jump.text = argument;
            if (RunPattern pattern(argument); pattern.isValid())
                jump.pattern = std::move(pattern);
        }
        line.jump = int(m_jumps.size());
        m_jumps.push_back(std::move(jump));
    }
}

void RunProgram::add(const QString &text, int file, int depth, QStringList &seen)
{
    int number = 0;
    forEachEditorLine(QStringView(text), [&](QStringView raw, QStringView) {
        const QStringView line = trimmedView(raw);
        Line record{line.data(), int(line.size()), file, number++};
        m_lineCounts[file] = number;
        record.hasValues = line.contains(u'%') || line.contains(u'$');
        const auto [word, rest] = firstWordAndRest(line);
        record.command = line.isEmpty() || line.startsWith(u'#') || line == u"{" ? Command::Nothing
                         : m_dialect == Dialect::Modern && line.startsWith(u'}') ? Command::BlockEnd
                                                                                 : commandOf(word);
        m_lines.push_back(record);
        const int at = int(m_lines.size()) - 1;
        if (m_dialect == Dialect::Modern && record.command == Command::Nothing) {
            // A part the script is assembled from: put in after the script, once it is read.
            if (const QStringView part = requiredPart(line); !part.isEmpty())
                m_required.append({at, file, depth, part.toString()});
        }
        if (m_dialect == Dialect::Modern && record.command == Command::Ignored
            && equalsWord(word, QLatin1StringView("include"))) {
            putIn(rest, at, file, depth, seen);
            return;
        }
        QStringView label;
        bool isLabel = false;
        if (m_dialect == Dialect::Modern) {
            label = labelDefinedBy(line);
            isLabel = !label.isEmpty();
        } else if (const qsizetype colon = line.lastIndexOf(u':');
                   colon >= 0 && colon >= line.size() - 2 && !commandWordOf(wordAt(line, 0))) {
            // The classic rule: a colon among the last two characters; the name before it.
            label = line.first(colon);
            isLabel = true;
        }
        if (isLabel) {
            // The first of two labels of one name is the one a goto finds.
            const QString key = upperCased(label);
            if (!m_labels.contains(key))
                m_labels.insert(key, at);
            m_lines.back().command = Command::Label;
        }
    });
}

// Puts in the script an include line (or a #REQUIRE comment) names, where the lines go now.
// Looked for from the including script's folder, as the checker looks; an unreadable one is read
// all the same, for the reason it cannot be.
void RunProgram::putIn(QStringView name, int at, int file, int depth, QStringList &seen)
{
    const IncludeSearch search
        = file == 0 ? m_search : IncludeSearch(QFileInfo(m_paths[file]).path(), m_search.root);
    const QString path = m_library ? m_library->find(search, name).path : QString();
    QString error;
    if (path.isEmpty()) {
        m_missing.append({at, QStringLiteral("the included script %1 is not found").arg(name)});
    } else if (depth >= maxIncludeDepth) {
        m_missing.append({at,
                          QStringLiteral("the included script %1 is included more than "
                                         "%2 deep, so it is not put in")
                              .arg(name)
                              .arg(maxIncludeDepth)});
    } else if (seen.contains(path)) {
        // Put in once: a script that includes itself would never end.
    } else if (QByteArray text = m_library->textOf(path, &error); !error.isEmpty()) {
        m_missing.append(
            {at, QStringLiteral("the included script %1 cannot be read: %2").arg(name, error)});
    } else {
        seen.append(path);
        m_texts.append(QString::fromUtf8(text));
        m_files.append(QFileInfo(path).fileName());
        m_paths.append(path);
        m_lineCounts.append(0);
        add(m_texts.constLast(), int(m_files.size()) - 1, depth + 1, seen);
    }
}

int RunProgram::labelLine(QStringView name) const
{
    // Most names are short: looked up through a key on the stack, not one made on the heap.
    char16_t upper[64];
    if (name.size() > qsizetype(std::size(upper)) || !isAscii(name))
        return m_labels.value(upperCased(name), -1);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        upper[i] = c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    }
    return m_labels.value(QString::fromRawData(reinterpret_cast<const QChar *>(upper), name.size()),
                          -1);
}

namespace {

// Whether a line's branch is the block that a "{" on the next line opens.
bool opensBlockBelow(QStringView text)
{
    if (text.startsWith(u'}'))
        text = trimmedView(text.sliced(1));
    const qsizetype lastSpace = text.lastIndexOf(u' ');
    const QStringView last = lastSpace < 0 ? text : text.sliced(lastSpace + 1);
    return last.compare(u"then", Qt::CaseInsensitive) == 0
           || text.compare(u"else", Qt::CaseInsensitive) == 0;
}

} // namespace

// Each line that opens a block learns the line of its closing brace. A "{" alone on the line
// after "if ... then", "else" or "} else" opens that branch's block.
void RunProgram::findBlocks()
{
    if (m_dialect != Dialect::Modern)
        return;
    std::vector<int> open;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const QStringView text = m_lines[std::size_t(i)].text();
        if (text.startsWith(u'}') && !open.empty()) {
            m_lines[std::size_t(open.back())].close = i;
            open.pop_back();
        }
        if (opensBlock(text))
            open.push_back(i);
    }
    for (int i = 0; i + 1 < int(m_lines.size()); ++i) {
        Line &line = m_lines[std::size_t(i)];
        const Line &next = m_lines[std::size_t(i) + 1];
        if (line.close < 0 && next.text() == u"{" && opensBlockBelow(line.text()))
            line.close = next.close;
    }
}

} // namespace Korveth
