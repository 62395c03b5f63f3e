#include "LanguageDefinition.h"

#include <algorithm>

namespace Korveth {

namespace {

const char *const scriptKeywords[] = {
    "counter", "counter add", "counter set", "echo", "exit", "if_", "if_0", "goto",
    "labelerror:", "match", "matchwait", "move", "nextroom", "pause", "put", "save",
    "shift", "wait", "waitfor", "if_1", "if_2", "if_3", "if_4", "if_5", "if_6", "if_7",
    "if_8", "if_9",
};

const char *const scriptOperators[] = {
    "%", "%0", "%1", "%2", "%3", "%4", "%5", "%6", "%7", "%8", "%9", "%c", "%s",
};

template<std::size_t N>
QString joinedWithLineFeeds(const char *const (&items)[N])
{
    QString text;
    for (const char *item : items) {
        text += QLatin1StringView(item);
        text += u'\n';
    }
    return text;
}

bool isWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
           || (static_cast<unsigned char>(c) >= 0x80);
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

QList<QByteArray> entriesLongestFirst(const QString &list, bool caseSensitive)
{
    QList<QByteArray> entries;
    for (const QString &entry : list.split(u'\n', Qt::SkipEmptyParts))
        entries.append(caseSensitive ? entry.toUtf8() : entry.toLower().toUtf8());
    std::stable_sort(entries.begin(), entries.end(), [](const QByteArray &a, const QByteArray &b) {
        return a.size() > b.size();
    });
    return entries;
}

} // namespace

LanguageRegistry &LanguageRegistry::shared()
{
    static LanguageRegistry registry;
    return registry;
}

void LanguageRegistry::registerLanguage(const QString &name, const LanguageDefinition &definition)
{
    m_languages.insert(name, definition);
}

const LanguageDefinition *LanguageRegistry::find(const QString &name) const
{
    auto it = m_languages.constFind(name);
    return it == m_languages.constEnd() ? nullptr : &*it;
}

void RegisterScriptLanguage(LanguageRegistry &registry)
{
    LanguageDefinition definition;
    registry.registerLanguage(scriptLanguageName, definition);
    definition.caseSensitive = false;
    definition.keywords = joinedWithLineFeeds(scriptKeywords);
    definition.style = 0;
    definition.operators = joinedWithLineFeeds(scriptOperators);
    definition.singleLineComment = QStringLiteral("#");
    // Registered again so that the filled-in definition is the one in force.
    registry.registerLanguage(scriptLanguageName, definition);
}

LanguageTokenizer::LanguageTokenizer(const LanguageDefinition &definition)
    : m_caseSensitive(definition.caseSensitive)
    , m_keywords(entriesLongestFirst(definition.keywords, definition.caseSensitive))
    , m_operators(entriesLongestFirst(definition.operators, definition.caseSensitive))
    , m_comment(definition.singleLineComment.toUtf8())
{}

bool LanguageTokenizer::matchesAt(QByteArrayView line, qsizetype at, const QByteArray &word) const
{
    if (line.size() - at < word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char c = m_caseSensitive ? line[at + i] : lower(line[at + i]);
        if (c != word[i])
            return false;
    }
    return true;
}

QList<StyledSpan> LanguageTokenizer::styleLine(QByteArrayView line) const
{
    QList<StyledSpan> spans;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (!m_comment.isEmpty() && matchesAt(line, i, m_comment)) {
            spans.append({i, n - i, TokenStyle::Comment});
            break;
        }
        const bool wordStart = isWordByte(line[i]) && (i == 0 || !isWordByte(line[i - 1]));
        if (wordStart) {
            qsizetype matched = 0;
            for (const QByteArray &keyword : m_keywords) {
                // A keyword ends where a word ends, or with its own colon ("labelerror:").
                if (matchesAt(line, i, keyword)
                    && (i + keyword.size() == n || !isWordByte(line[i + keyword.size()])
                        || !isWordByte(keyword.back()))) {
                    matched = keyword.size();
                    break;
                }
            }
            qsizetype end = i;
            while (end < n && isWordByte(line[end]))
                ++end;
            if (matched > 0)
                spans.append({i, matched, TokenStyle::Keyword});
            i = matched > 0 ? i + matched : end;
            continue;
        }
        qsizetype matched = 0;
        for (const QByteArray &op : m_operators) {
            if (matchesAt(line, i, op)) {
                matched = op.size();
                break;
            }
        }
        if (matched > 0) {
            spans.append({i, matched, TokenStyle::Operator});
            i += matched;
        } else {
            ++i;
        }
    }
    return spans;
}

} // namespace Korveth
