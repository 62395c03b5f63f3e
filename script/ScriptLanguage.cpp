#include "ScriptLanguage.h"

#include <cstdint>
#include <vector>

namespace Korveth {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool equalsLowerAscii(QStringView word, QLatin1StringView lower)
{
    if (word.size() != lower.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        char16_t c = word[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = c - u'A' + u'a';
        if (c != char16_t(lower[i].unicode()))
            return false;
    }
    return true;
}

// The first eight letters of a word, lower-cased, in one number.
std::uint64_t packedHead(QStringView word)
{
    std::uint64_t key = 0;
    for (qsizetype i = 0; i < qMin<qsizetype>(word.size(), 8); ++i) {
        char16_t c = word[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = c - u'A' + u'a';
        key |= std::uint64_t(c & 0xFF) << (8 * i);
    }
    return key;
}

std::optional<CommandWord> asciiCommandWord(QStringView word)
{
    // Every line's first word is asked: lengths and first letters are compared as numbers, the
    // letters past the eighth only for a word that gets that far.
    struct Packed
    {
        qsizetype size;
        std::uint64_t head;
        QLatin1StringView spelling;
        CommandWord command;
    };
    static const std::vector<Packed> packed = [] {
        std::vector<Packed> p;
        for (const VocabularyWord &entry : vocabulary()) {
            if (entry.command)
                p.push_back({entry.spelling.size(),
                             packedHead(QString(entry.spelling)),
                             entry.spelling,
                             *entry.command});
        }
        return p;
    }();
    const std::uint64_t head = packedHead(word);
    // Spellings are distinct, so the first equal one is the only one.
    for (const Packed &entry : packed) {
        if (entry.size == word.size() && entry.head == head
            && (entry.size <= 8 || equalsLowerAscii(word, entry.spelling)))
            return entry.command;
    }
    return std::nullopt;
}

} // namespace

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView utf8)
{
    return asciiPrefixLength(utf8) == utf8.size();
}

QString Trimmer(QString &tmpString)
{
    tmpString = trimmedView(tmpString).toString();
    return tmpString;
}

QStringView trimmedView(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

QByteArrayView trimmedView(QByteArrayView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    return line.sliced(begin, end - begin);
}

qsizetype leadingBlankCount(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && isBlank(line[count]))
        ++count;
    return count;
}

QStringView wordAt(QStringView line, int index)
{
    qsizetype start = 0;
    for (int i = 0; i < index; ++i) {
        const qsizetype space = line.indexOf(u' ', start);
        if (space < 0)
            return {};
        start = space + 1;
    }
    qsizetype end = line.indexOf(u' ', start);
    if (end < 0)
        end = line.size();
    return line.sliced(start, end - start);
}

QList<QStringView> splitWords(QStringView line)
{
    return line.split(u' ');
}

bool endsLikeLabel(QStringView trimmedLine)
{
    const qsizetype n = trimmedLine.size();
    if (n == 0)
        return false;
    if (n == 1)
        return trimmedLine[0] == u':';
    return trimmedLine[n - 1] == u':' || trimmedLine[n - 2] == u':';
}

std::optional<CommandWord> commandWordOf(QStringView word)
{
    if (isAscii(word))
        return asciiCommandWord(word);
    // Non-ASCII letters can upper-case into ASCII (the long s becomes S).
    const QString upper = word.toString().toUpper();
    if (!isAscii(upper))
        return std::nullopt;
    return asciiCommandWord(upper);
}

LineKind lineKind(QStringView trimmedLine)
{
    if (trimmedLine.isEmpty())
        return LineKind::Empty;
    if (commandWordOf(wordAt(trimmedLine, 0)))
        return LineKind::Command;
    if (endsLikeLabel(trimmedLine))
        return LineKind::Label;
    if (trimmedLine.contains(u'#'))
        return LineKind::Comment;
    return LineKind::Other;
}

QString upperCased(QStringView text)
{
    if (isAscii(text)) {
        QString upper(text.size(), Qt::Uninitialized);
        QChar *out = upper.data();
        for (qsizetype i = 0; i < text.size(); ++i) {
            char16_t c = text[i].unicode();
            if (c >= u'a' && c <= u'z')
                c = c - u'a' + u'A';
            out[i] = QChar(c);
        }
        return upper;
    }
    return text.toString().toUpper();
}

} // namespace Korveth
