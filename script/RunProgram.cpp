#include "RunProgram.h"

#include "ModernWords.h"
#include "RunValues.h"
#include "ScriptLanguage.h"
#include "TextLines.h"

#include <QFileInfo>

namespace Korveth {

namespace {

// Deeper than any real library nests; a cycle stops at the first script seen again.
constexpr int maxIncludeDepth = 16;

} // namespace

RunProgram::RunProgram(QStringView scriptText,
                       Dialect dialect,
                       const IncludeSearch &search,
                       ScriptLibrary *library)
    : m_dialect(dialect)
    , m_search(search)
    , m_library(library)
{
    QStringList seen;
    // Room for the script's own lines at once: a line's record is large, and moving a hundred
    // thousand of them as the array grows costs more than reading them.
    m_lines.reserve(std::size_t(scriptText.count(u'\n') + scriptText.count(u'\r') + 1));
    add(scriptText, {}, 0, seen);
    findBlocks();
    prepareJumps();
}

void RunProgram::prepareJumps()
{
    for (Line &line : m_lines) {
        if (line.hasValues)
            continue;
        const auto [word, rest] = firstWordAndRest(line.text);
        const bool match = equalsWord(word, QLatin1StringView("match"));
        const bool matchre = equalsWord(word, QLatin1StringView("matchre"));
        if (!match && !matchre && !equalsWord(word, QLatin1StringView("goto"))
            && !equalsWord(word, QLatin1StringView("gosub")))
            continue;
        const auto [label, argument] = firstWordAndRest(rest);
        line.label = label.toString();
        line.target = labelLine(label);
        line.argument = argument.toString();
        if (match) {
            line.folded = foldedForMatching(argument);
            line.matcher = std::make_shared<const QStringMatcher>(line.folded);
        }
        if (matchre) {
            if (auto pattern = runPattern(argument); pattern && pattern->isValid())
                line.pattern = std::move(pattern);
        }
    }
}

void RunProgram::add(QStringView text, const QString &file, int depth, QStringList &seen)
{
    int number = 0;
    forEachEditorLine(text, [&](QStringView raw, QStringView) {
        const QStringView line = trimmedView(raw);
        m_lines.push_back(
            {line.toString(), file, number++, -1, line.contains(u'%') || line.contains(u'$')});
        const int at = int(m_lines.size()) - 1;
        const auto [word, rest] = firstWordAndRest(line);
        if (m_dialect == Dialect::Modern && equalsWord(word, QLatin1StringView("include"))) {
            const QString path = m_library ? m_library->resolve(m_search, rest) : QString();
            if (path.isEmpty() || depth >= maxIncludeDepth) {
                m_missing.append({at, rest.toString()});
            } else if (!seen.contains(path)) {
                seen.append(path);
                add(QString::fromUtf8(m_library->textOf(path)),
                    QFileInfo(path).fileName(),
                    depth + 1,
                    seen);
            }
            return;
        }
        if (const QStringView label
            = m_dialect == Dialect::Modern ? labelDefinedBy(line) : QStringView();
            !label.isEmpty()) {
            // The first of two labels of one name is the one a goto finds.
            if (!m_labels.contains(upperCased(label)))
                m_labels.insert(upperCased(label), at);
            m_lines.back().definesLabel = true;
        } else if (const qsizetype colon = line.lastIndexOf(u':');
                   m_dialect == Dialect::Classic && colon >= 0 && colon >= line.size() - 2
                   && !commandWordOf(wordAt(line, 0))) {
            // The classic rule: a colon among the last two characters; the name before it.
            if (!m_labels.contains(upperCased(line.first(colon))))
                m_labels.insert(upperCased(line.first(colon)), at);
            m_lines.back().definesLabel = true;
        }
    });
}

int RunProgram::labelLine(QStringView name) const
{
    return m_labels.value(upperCased(name), -1);
}

// Each line that opens a block learns the line of its closing brace. A "{" alone on the line
// after "if ... then" opens the if's block.
void RunProgram::findBlocks()
{
    if (m_dialect != Dialect::Modern)
        return;
    std::vector<int> open;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const QString &text = m_lines[std::size_t(i)].text;
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
        if (line.close < 0 && next.text == u"{" && line.text.endsWith(u"then", Qt::CaseInsensitive))
            line.close = next.close;
    }
}

} // namespace Korveth
