#include "GameLine.h"

#include "RunValues.h"
#include "TextLines.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace Korveth {

FoldedText::FoldedText(QStringView text)
{
    const QString folded = foldedForMatching(text);
    m_isAscii
        = std::all_of(folded.begin(), folded.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (m_isAscii)
        m_ascii = folded.toLatin1();
    else
        m_folded = folded;
}

void GameLine::setAscii(QByteArrayView bytes)
{
    m_bytes = bytes;
    m_isAscii = true;
    m_decoded = m_bytesFolded = m_folded16 = false;
}

void GameLine::setText(QString text)
{
    m_text = std::move(text);
    m_isAscii = false;
    m_decoded = true;
    m_bytesFolded = m_folded16 = false;
}

void GameLine::setText(QStringView text)
{
    m_text.resize(text.size());
    std::copy(text.begin(), text.end(), m_text.begin());
    m_isAscii = false;
    m_decoded = true;
    m_bytesFolded = m_folded16 = false;
}

QStringView GameLine::text() const
{
    if (!m_decoded) {
        m_text.resize(m_bytes.size());
        widenAscii(m_bytes, m_text.data());
        m_decoded = true;
    }
    return m_text;
}

bool GameLine::contains(const FoldedText &wanted) const
{
    if (m_isAscii && wanted.isAscii()) {
        if (!m_bytesFolded) {
            // Letter case is folded the same way the wanted texts were, byte by byte.
            m_foldedBytes.resize(m_bytes.size());
            char *out = m_foldedBytes.data();
            const char *in = m_bytes.data();
            for (qsizetype i = 0; i < m_bytes.size(); ++i)
                out[i] = char(in[i] >= 'A' && in[i] <= 'Z' ? in[i] + 32 : in[i]);
            m_bytesFolded = true;
        }
        const QByteArrayView wantedBytes = wanted.asciiBytes();
        return std::string_view(m_foldedBytes.constData(), std::size_t(m_foldedBytes.size()))
                   .find(std::string_view(wantedBytes.data(), std::size_t(wantedBytes.size())))
               != std::string_view::npos;
    }
    return wanted.indexIn(folded()) >= 0;
}

const QString &GameLine::folded() const
{
    if (!m_folded16) {
        foldForMatching(text(), m_folded);
        m_folded16 = true;
    }
    return m_folded;
}

quint64 GameLine::holds(const FoldedTextSet &texts) const
{
    return m_isAscii ? texts.hitsInAscii(m_bytes) : texts.hitsInFolded(folded());
}

void FoldedTextSet::assign(const std::vector<const FoldedText *> &texts)
{
    m_texts.assign(texts.begin(), texts.begin() + qsizetype(qMin(texts.size(), maxTexts)));
    m_entries.clear();
    m_bytes.clear();
    m_masks.clear();
    m_first.fill(0);
    m_empty = 0;
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        const FoldedText *text = m_texts[i];
        const quint64 bit = quint64(1) << i;
        m_entries.push_back({m_bytes.size(), 0});
        if (!text || !text->isAscii())
            continue;
        const QByteArrayView bytes = text->asciiBytes();
        if (bytes.isEmpty()) {
            m_empty |= bit;
            continue;
        }
        m_entries.back().length = bytes.size();
        m_bytes += bytes;
        for (char c : bytes)
            m_masks += char(c >= 'a' && c <= 'z' ? 0x20 : 0);
        const auto first = static_cast<unsigned char>(bytes.front());
        m_first[first] |= bit;
        if (first >= 'a' && first <= 'z')
            m_first[first - 32] |= bit;
    }
}

quint64 FoldedTextSet::hitsInAscii(QByteArrayView line) const
{
    const auto *in = reinterpret_cast<const unsigned char *>(line.data());
    const qsizetype size = line.size();
    quint64 hits = m_empty;
    for (qsizetype at = 0; at < size; ++at) {
        // Each text that may start here and is not yet found is compared from here.
        for (quint64 maybe = m_first[in[at]] & ~hits; maybe; maybe &= maybe - 1) {
            const int i = std::countr_zero(maybe);
            const Entry &entry = m_entries[std::size_t(i)];
            if (entry.length > size - at)
                continue;
            const char *wanted = m_bytes.constData() + entry.start;
            const char *masks = m_masks.constData() + entry.start;
            qsizetype k = 1;
            while (k < entry.length && char(in[at + k] | masks[k]) == wanted[k])
                ++k;
            if (k == entry.length)
                hits |= quint64(1) << i;
        }
    }
    return hits;
}

quint64 FoldedTextSet::hitsInFolded(QStringView foldedLine) const
{
    quint64 hits = 0;
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        if (m_texts[i] && m_texts[i]->indexIn(foldedLine) >= 0)
            hits |= quint64(1) << i;
    }
    return hits;
}

} // namespace Korveth
