#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace Korveth {

// A text a dry run looks for in game lines, letter case ignored: folded once, and kept as bytes
// when it is ASCII (nearly always), so that an ASCII game line is searched without being decoded.
class FoldedText
{
public:
    FoldedText() = default;
    explicit FoldedText(QStringView text);

    bool isAscii() const { return m_isAscii; }
    QByteArrayView asciiBytes() const { return m_ascii; }
    // Where it is in a line folded the same way; -1 when it is not there.
    qsizetype indexIn(QStringView foldedLine) const
    {
        return m_isAscii ? foldedLine.indexOf(QLatin1StringView(m_ascii))
                         : foldedLine.indexOf(m_folded);
    }

private:
    QByteArray m_ascii = QByteArray(""); // an empty text is ASCII, and found everywhere
    QString m_folded;                    // when it is not ASCII
    bool m_isAscii = true;
};

// The texts a script waits for at once, looked for in a line in one pass: a matchwait's several
// matches cost about what one does.
class FoldedTextSet
{
public:
    static constexpr std::size_t maxTexts = 64;

    // A null entry is a text looked for some other way; it never hits. Past maxTexts, none hit.
    void assign(const std::vector<const FoldedText *> &texts);
    // Bit i: the line holds text i.
    quint64 hitsInAscii(QByteArrayView line) const;
    quint64 hitsInFolded(QStringView foldedLine) const;

private:
    struct Entry
    {
        qsizetype start = 0; // in m_bytes and m_masks
        qsizetype length = 0;
    };
    std::vector<const FoldedText *> m_texts;
    std::vector<Entry> m_entries;
    QByteArray m_bytes;
    QByteArray m_masks;                 // 0x20 under a letter: either case matches it
    std::array<quint64, 256> m_first{}; // the ASCII texts a byte can start
    quint64 m_empty = 0;                // texts every line holds
};

// One game line as a source hands it out. A log's line is kept as its bytes while they are ASCII
// (nearly all game text is): its text is decoded, and it is folded for matching, only when asked.
class GameLine
{
public:
    // An ASCII line's bytes, valid until the source's next line.
    void setAscii(QByteArrayView bytes);
    void setText(QString text);
    void setText(QStringView text);

    QStringView text() const;
    bool contains(const FoldedText &wanted) const;
    quint64 holds(const FoldedTextSet &texts) const;

private:
    const QString &folded() const;

    QByteArrayView m_bytes;
    bool m_isAscii = false;
    mutable QString m_text; // decoded; its room is used again
    mutable bool m_decoded = false;
    mutable QByteArray m_foldedBytes;
    mutable bool m_bytesFolded = false;
    mutable QString m_folded;
    mutable bool m_folded16 = false;
};

} // namespace Korveth
