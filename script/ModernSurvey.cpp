#include "ModernSurvey.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"

namespace Korveth {

ModernSurvey::ModernSurvey(IncludeFound includeFound)
    : m_includeFound(std::move(includeFound))
{}

ModernLineShape ModernSurvey::shapeOf(QStringView line, const IncludeFound &includeFound)
{
    ModernLineShape shape;
    shape.empty = line.isEmpty();
    shape.startsEmbedded = line.startsWith(u"<%");
    shape.endsEmbedded = line.contains(u"%>");
    shape.endsEmbeddedAtOnce = shape.startsEmbedded && line.indexOf(u"%>") < 2;
    shape.comment = line.startsWith(u'#');
    shape.startsWithBrace = line.startsWith(u'{');
    shape.closesBlock = line.startsWith(u'}');
    shape.opensBlock = opensBlock(line);
    const auto [first, rest]
        = firstWordAndRest(shape.closesBlock ? trimmedView(line.sliced(1)) : line);
    const ModernWordEntry *word = modernWordOf(first);
    const ModernWord kind = word ? word->word : ModernWord::Other;
    if (kind == ModernWord::Include) {
        shape.include = includeFound && includeFound(rest) ? 1 : -1;
    } else if (kind == ModernWord::If || kind == ModernWord::Elseif) {
        const qsizetype then = thenAt(line);
        shape.thenAtEnd = then >= 0 && trimmedView(line.sliced(then + 4)).isEmpty();
    }
    return shape;
}

void ModernSurvey::addLine(QStringView line)
{
    addShape(shapeOf(line, m_includeFound));
}

void ModernSurvey::addShape(const ModernLineShape &shape)
{
    const std::size_t i = m_facts.size();
    m_facts.emplace_back();
    if (!shape.empty && m_pendingThen) {
        m_facts[*m_pendingThen].thenWithoutCommand = !shape.startsWithBrace;
        m_pendingThen.reset();
    }
    ModernLineFacts &facts = m_facts.back();
    if (m_embedded || shape.startsEmbedded) {
        facts.embedded = true;
        m_embedded = !shape.endsEmbedded || shape.endsEmbeddedAtOnce;
        return;
    }
    if (shape.empty || shape.comment)
        return;
    if (shape.closesBlock) {
        if (m_open.empty())
            facts.unmatchedClose = true;
        else
            m_open.pop_back();
    }
    if (shape.opensBlock)
        m_open.push_back(i);
    facts.include = shape.include;
    if (shape.thenAtEnd)
        m_pendingThen = i;
}

std::vector<ModernLineFacts> ModernSurvey::finish()
{
    if (m_pendingThen)
        m_facts[*m_pendingThen].thenWithoutCommand = true;
    for (std::size_t i : m_open)
        m_facts[i].neverClosed = true;
    m_open.clear();
    m_pendingThen.reset();
    m_embedded = false;
    return std::exchange(m_facts, {});
}

} // namespace Korveth
