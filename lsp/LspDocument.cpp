#include "LspDocument.h"

namespace Korveth {

LspDocument::LspDocument(const QString &text, DialectChoice dialect, const QString &folder)
    : m_text(text)
    , m_model(dialect, folder)
{}

void LspDocument::setText(const QString &text)
{
    m_text = text;
    m_stale = true;
}

qsizetype LspDocument::offsetOf(int line, qsizetype column) const
{
    qsizetype at = 0;
    for (int i = 0; i < line; ++i) {
        while (at < m_text.size() && m_text[at] != u'\r' && m_text[at] != u'\n')
            ++at;
        if (at == m_text.size())
            return at;
        at += (m_text[at] == u'\r' && at + 1 < m_text.size() && m_text[at + 1] == u'\n') ? 2 : 1;
    }
    qsizetype end = at;
    while (end < m_text.size() && m_text[end] != u'\r' && m_text[end] != u'\n')
        ++end;
    return qMin(at + qMax<qsizetype>(0, column), end);
}

void LspDocument::replace(
    int startLine, qsizetype startColumn, int endLine, qsizetype endColumn, const QString &text)
{
    qsizetype from = offsetOf(startLine, startColumn);
    qsizetype to = offsetOf(endLine, endColumn);
    if (to < from)
        std::swap(from, to);
    m_text.replace(from, to - from, text);
    m_stale = true;
}

ScriptModel &LspDocument::model()
{
    if (m_stale)
        m_model.update(m_text.toUtf8());
    m_stale = false;
    return m_model;
}

} // namespace Korveth
