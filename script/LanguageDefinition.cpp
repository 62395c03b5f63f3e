#include "LanguageDefinition.h"

#include "CommandVocabulary.h"

#include <algorithm>

namespace Korveth {

namespace {

QString joinedWithLineFeeds(const QStringList &items)
{
    QString text;
    for (const QString &item : items) {
        text += item;
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

std::array<QList<QByteArray>, 256> entriesByFirstByte(const QString &list, bool caseSensitive)
{
    std::array<QList<QByteArray>, 256> buckets;
    for (const QString &entry : list.split(u'\n', Qt::SkipEmptyParts)) {
        const QByteArray bytes = caseSensitive ? entry.toUtf8() : entry.toLower().toUtf8();
        buckets[static_cast<unsigned char>(bytes[0])].append(bytes);
    }
    for (auto &bucket : buckets) {
        std::stable_sort(
            bucket.begin(), bucket.end(), [](const QByteArray &a, const QByteArray &b) {
                return a.size() > b.size();
            });
    }
    return buckets;
}

} // namespace

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
    definition.keywords = joinedWithLineFeeds(colouringKeywords());
    definition.style = 0;
    definition.operators = joinedWithLineFeeds(colouringOperators());
    definition.singleLineComment = QStringLiteral("#");
    // Registered again so that the filled-in definition is the one in force.
    registry.registerLanguage(scriptLanguageName, definition);
}

LanguageTokenizer::LanguageTokenizer(const LanguageDefinition &definition)
    : m_caseSensitive(definition.caseSensitive)
    , m_keywords(entriesByFirstByte(definition.keywords, definition.caseSensitive))
    , m_operators(entriesByFirstByte(definition.operators, definition.caseSensitive))
    , m_comment(definition.singleLineComment.toUtf8())
{}

// The letter at a place as a case-insensitive match sees it, and its length in bytes: the long s
// (U+017F) is an s, as other editors' grammars and the checker take it.
char LanguageTokenizer::foldedAt(QByteArrayView line, qsizetype at, qsizetype &bytes) const
{
    bytes = 1;
    if (m_caseSensitive)
        return line[at];
    if (line[at] == '\xC5' && at + 1 < line.size() && line[at + 1] == '\xBF') {
        bytes = 2;
        return 's';
    }
    return lower(line[at]);
}

qsizetype
LanguageTokenizer::matchLength(QByteArrayView line, qsizetype at, const QByteArray &word) const
{
    qsizetype j = at;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (j >= line.size())
            return -1;
        qsizetype bytes = 1;
        if (foldedAt(line, j, bytes) != word[i])
            return -1;
        j += bytes;
    }
    return j - at;
}

bool LanguageTokenizer::matchesAt(QByteArrayView line, qsizetype at, const QByteArray &word) const
{
    return matchLength(line, at, word) >= 0;
}

qsizetype LanguageTokenizer::keywordAt(QByteArrayView line, qsizetype at) const
{
    qsizetype firstBytes = 1;
    const char first = foldedAt(line, at, firstBytes);
    for (const QByteArray &keyword : m_keywords[static_cast<unsigned char>(first)]) {
        // A keyword ends where a word ends, or with its own colon ("labelerror:").
        const qsizetype length = matchLength(line, at, keyword);
        const qsizetype end = at + length;
        if (length > 0
            && (end == line.size() || !isWordByte(line[end]) || !isWordByte(keyword.back())))
            return length;
    }
    return 0;
}

qsizetype LanguageTokenizer::operatorAt(QByteArrayView line, qsizetype at) const
{
    const char first = m_caseSensitive ? line[at] : lower(line[at]);
    for (const QByteArray &op : m_operators[static_cast<unsigned char>(first)]) {
        if (const qsizetype length = matchLength(line, at, op); length > 0)
            return length;
    }
    return 0;
}

void LanguageTokenizer::paintLine(QByteArrayView line, char *styles) const
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (!m_comment.isEmpty() && matchesAt(line, i, m_comment)) {
            std::fill(styles + i, styles + n, char(TokenStyle::Comment));
            return;
        }
        if (isWordByte(line[i])) {
            const bool wordStart = i == 0 || !isWordByte(line[i - 1]);
            const qsizetype matched = wordStart ? keywordAt(line, i) : 0;
            if (matched > 0) {
                std::fill_n(styles + i, matched, char(TokenStyle::Keyword));
                i += matched;
            } else {
                while (i < n && isWordByte(line[i]))
                    ++i;
            }
            continue;
        }
        const qsizetype matched = operatorAt(line, i);
        if (matched > 0) {
            std::fill_n(styles + i, matched, char(TokenStyle::Operator));
            i += matched;
        } else {
            ++i;
        }
    }
}

QList<StyledSpan> LanguageTokenizer::styleLine(QByteArrayView line) const
{
    QByteArray styles(line.size(), char(TokenStyle::Default));
    paintLine(line, styles.data());
    QList<StyledSpan> spans;
    for (qsizetype i = 0; i < styles.size();) {
        qsizetype end = i + 1;
        while (end < styles.size() && styles[end] == styles[i])
            ++end;
        if (styles[i] != char(TokenStyle::Default))
            spans.append({i, end - i, TokenStyle(styles[i])});
        i = end;
    }
    return spans;
}

} // namespace Korveth
