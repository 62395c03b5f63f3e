#include "ModernSurvey.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"
#include "ScriptLibrary.h"
#include "TextLines.h"

namespace Korveth {

ModernSurvey::ModernSurvey(IncludeLookup lookUp)
    : m_lookUp(std::move(lookUp))
{}

namespace {

// Where "%>" first stands, or -1. Every line is asked, so this is a plain loop.
qsizetype embeddedEnd(QStringView line)
{
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (line[i] == u'>' && line[i - 1] == u'%')
            return i - 1;
    }
    return -1;
}

// "else if" is an elseif; "if_N ... then" an if of the chain as much as "if ... then".
ChainPart chainPartOf(QStringView line, ModernWord kind, QStringView first, QStringView rest)
{
    if (line == u"{" || line == u"}")
        return ChainPart::Neutral;
    if (kind == ModernWord::If
        || (commandWordOf(first) == CommandWord::IfDigit && thenAt(line) >= 0))
        return ChainPart::If;
    if (kind == ModernWord::Elseif)
        return ChainPart::Elseif;
    if (kind == ModernWord::Else) {
        const ModernWordEntry *next = modernWordOf(firstWordAndRest(rest).first);
        return next && next->word == ModernWord::If ? ChainPart::Elseif : ChainPart::Else;
    }
    return ChainPart::Other;
}

} // namespace

namespace {

template<typename View> bool plainLine(View line)
{
    if (line.isEmpty())
        return false;
    const char16_t first = detail::codeUnit(line.front());
    const char16_t last = detail::codeUnit(line.back());
    // Anything not ASCII at the start goes the long way: letter case folding, a byte-order mark.
    if (first >= 0x80 || last == ':' || last == '{')
        return false;
    switch (first) {
    case '#':
    case '<':
    case '{':
    case '}':
    case 'i': // if, include
    case 'I':
    case 'e': // elseif, else
    case 'E':
        return false;
    default:
        break;
    }
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (detail::codeUnit(line[i]) == u'>' && detail::codeUnit(line[i - 1]) == u'%')
            return false;
    }
    return true;
}

} // namespace

bool ModernSurvey::isPlain(QByteArrayView trimmedUtf8)
{
    return plainLine(trimmedUtf8);
}

bool ModernSurvey::isPlain(QStringView trimmedLine)
{
    return plainLine(trimmedLine);
}

ModernLineShape ModernSurvey::shapeOf(QStringView line, const IncludeLookup &lookUp)
{
    if (line.startsWith(QChar(0xFEFF))) // a byte-order mark left at the start of the text
        line = line.sliced(1);
    ModernLineShape shape;
    shape.empty = line.isEmpty();
    shape.startsEmbedded = line.startsWith(u"<%");
    const qsizetype end = embeddedEnd(line);
    shape.endsEmbedded = end >= 0;
    shape.endsEmbeddedAtOnce = shape.startsEmbedded && end < 2;
    shape.comment = line.startsWith(u'#');
    shape.startsWithBrace = line.startsWith(u'{');
    shape.closesBlock = line.startsWith(u'}');
    shape.opensBlock = opensBlock(line);
    const auto [first, rest]
        = firstWordAndRest(shape.closesBlock ? trimmedView(line.sliced(1)) : line);
    const ModernWordEntry *word = modernWordOf(first);
    const ModernWord kind = word ? word->word : ModernWord::Other;
    if (const QStringView part = shape.comment ? requiredPart(line) : QStringView();
        !part.isEmpty()) {
        shape.include = lookUp ? lookUp(part) : IncludeFile::Missing;
    } else if (kind == ModernWord::Include) {
        shape.include = lookUp ? lookUp(rest) : IncludeFile::Missing;
    } else if (kind == ModernWord::If || kind == ModernWord::Elseif) {
        const qsizetype then = thenAt(line);
        shape.thenAtEnd = then >= 0 && trimmedView(line.sliced(then + 4)).isEmpty();
    }
    shape.chain = chainPartOf(line, kind, first, rest);
    return shape;
}

void ModernSurvey::addLine(QStringView line)
{
    addShape(shapeOf(line, m_lookUp));
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
    if (shape.empty || shape.comment) {
        facts.include = shape.include; // a #REQUIRE comment names a part like an include
        return;
    }
    if (shape.closesBlock) {
        if (m_open.empty())
            facts.unmatchedClose = true;
        else
            m_open.pop_back();
    }
    Chain &chain = m_chains[m_open.size()];
    switch (shape.chain) {
    case ChainPart::If:
        chain = Chain::Open;
        break;
    case ChainPart::Elseif:
    case ChainPart::Else:
        facts.elseAfterElse = chain == Chain::ElseSeen;
        if (shape.chain == ChainPart::Else)
            chain = Chain::ElseSeen;
        break;
    case ChainPart::Neutral:
        break;
    case ChainPart::Other:
        chain = Chain::None;
        break;
    }
    if (shape.opensBlock) {
        m_open.push_back(i);
        m_chains.resize(m_open.size() + 1);
        m_chains.back() = Chain::None;
    }
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
    m_chains.assign(1, Chain::None);
    m_pendingThen.reset();
    m_embedded = false;
    return std::exchange(m_facts, {});
}

} // namespace Korveth
