#include "LspDocument.h"

#include <utility>

namespace Korveth {

namespace {

// A text's lines, cut at CR LF, LF or CR, and how each ends; an empty text is one empty line.
struct Lines
{
    QList<QString> texts;
    std::vector<char> ends;
};

Lines linesOf(const QString &text)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.texts.append(text.sliced(start, i - start));
        const bool pair = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        lines.ends.push_back(pair ? 'w' : char(c.unicode()));
        i += pair;
        start = i + 1;
    }
    lines.texts.append(text.sliced(start));
    lines.ends.push_back(0);
    return lines;
}

// How each line of a text ends, as linesOf() cuts it.
std::vector<char> lineEndsOf(QStringView text)
{
    std::vector<char> ends;
    ends.reserve(std::size_t(text.count(u'\n') + 1));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        const bool pair = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        ends.push_back(pair ? 'w' : char(c.unicode()));
        i += pair;
    }
    ends.push_back(0);
    return ends;
}

QStringView endText(char end)
{
    return end == 'w' ? u"\r\n" : end == '\r' ? u"\r" : end == '\n' ? u"\n" : u"";
}

} // namespace

LspDocument::LspDocument(const QString &text,
                         DialectChoice dialect,
                         const IncludeSearch &search,
                         ScriptLibrary *library,
                         qsizetype limit)
    : m_limit(limit)
    , m_dialect(dialect)
    , m_search(search)
    , m_library(library)
    , m_model(dialect, search, library)
{
    setText(text);
}

void LspDocument::setText(const QString &text)
{
    m_model = ScriptModel(m_dialect, m_search, m_library);
    m_followed = false;
    m_plain = text;
    m_size = text.size();
    followOrNot();
}

void LspDocument::followOrNot()
{
    const bool follow = m_size <= m_limit;
    if (follow == m_followed)
        return;
    m_followed = follow;
    if (follow) {
        m_ends = lineEndsOf(m_plain);
        m_model.editText(0, 0, m_plain); // kept by the model, not copied
        m_plain = QString();
        return;
    }
    // Only the text stays: the model's memory goes with it.
    QString text = modelText();
    m_model = ScriptModel(m_dialect, m_search, m_library);
    m_ends = {};
    m_plain = std::move(text);
}

QString LspDocument::modelText() const
{
    QString text;
    text.reserve(m_size);
    for (int i = 0; i < m_model.lineCount(); ++i) {
        const LineText line = m_model.lineText(i);
        text += line.view();
        text += endText(m_ends[std::size_t(i)]);
    }
    return text;
}

QByteArray LspDocument::utf8() const
{
    return (m_followed ? modelText() : m_plain).toUtf8();
}

void LspDocument::replace(
    int startLine, qsizetype startColumn, int endLine, qsizetype endColumn, const QString &text)
{
    if (std::make_pair(endLine, endColumn) < std::make_pair(startLine, startColumn)) {
        std::swap(startLine, endLine);
        std::swap(startColumn, endColumn);
    }
    if (m_followed)
        replaceInModel(startLine, startColumn, endLine, endColumn, text);
    else
        replaceInPlainText(startLine, startColumn, endLine, endColumn, text);
    followOrNot();
}

void LspDocument::replaceInModel(
    int startLine, qsizetype startColumn, int endLine, qsizetype endColumn, const QString &text)
{
    // Only the lines the change touches are rebuilt, with their line ends: a CR typed before an
    // LF makes one line end of the two.
    const int lines = m_model.lineCount();
    if (lines == 0) {
        Lines fresh = linesOf(text);
        m_size += text.size();
        m_ends = std::move(fresh.ends);
        m_model.edit(0, 0, std::move(fresh.texts));
        return;
    }
    auto place = [&](int line, qsizetype column) {
        if (line >= lines)
            return std::pair<int, qsizetype>{lines - 1, m_model.lineText(lines - 1).size()};
        line = qMax(0, line);
        return std::pair<int, qsizetype>{
            line, qBound<qsizetype>(0, column, m_model.lineText(line).size())};
    };
    auto [first, from] = place(startLine, startColumn);
    const auto [last, to] = place(endLine, endColumn);
    // A line before that ends with a lone CR may pair with an LF the change begins with.
    const bool withLineBefore = first > 0 && m_ends[std::size_t(first - 1)] == '\r';
    QString joined;
    qsizetype fromInJoined = from;
    qsizetype toInJoined = 0;
    for (int line = first - int(withLineBefore); line <= last; ++line) {
        if (line == first)
            fromInJoined += joined.size();
        if (line == last)
            toInJoined = joined.size() + to;
        const LineText lineText = m_model.lineText(line);
        joined += lineText.view();
        joined += endText(m_ends[std::size_t(line)]);
    }
    first -= int(withLineBefore);
    const qsizetype removed = toInJoined - fromInJoined;
    joined.replace(fromInJoined, removed, text);
    m_size += text.size() - removed;
    Lines fresh = linesOf(joined);
    if (m_ends[std::size_t(last)] != 0) {
        // The piece ended with its last line's end: the line after it follows on.
        fresh.texts.removeLast();
        fresh.ends.pop_back();
    }
    m_ends.erase(m_ends.begin() + first, m_ends.begin() + last + 1);
    m_ends.insert(m_ends.begin() + first, fresh.ends.begin(), fresh.ends.end());
    m_model.edit(first, last - first + 1, std::move(fresh.texts));
}

qsizetype LspDocument::offsetOf(int line, qsizetype column) const
{
    qsizetype at = 0;
    for (int i = 0; i < line; ++i) {
        while (at < m_plain.size() && m_plain[at] != u'\r' && m_plain[at] != u'\n')
            ++at;
        if (at == m_plain.size())
            return at;
        at += (m_plain[at] == u'\r' && at + 1 < m_plain.size() && m_plain[at + 1] == u'\n') ? 2 : 1;
    }
    qsizetype end = at;
    while (end < m_plain.size() && m_plain[end] != u'\r' && m_plain[end] != u'\n')
        ++end;
    return qMin(at + qMax<qsizetype>(0, column), end);
}

void LspDocument::replaceInPlainText(
    int startLine, qsizetype startColumn, int endLine, qsizetype endColumn, const QString &text)
{
    const qsizetype from = offsetOf(startLine, startColumn);
    const qsizetype to = qMax(from, offsetOf(endLine, endColumn));
    m_plain.replace(from, to - from, text);
    m_size = m_plain.size();
}

} // namespace Korveth
