#include "ScriptLanguage.h"

#include <array>

namespace Korveth {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool equalsUpperAscii(QStringView word, QLatin1StringView upper)
{
    if (word.size() != upper.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        char16_t c = word[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = c - u'a' + u'A';
        if (c != char16_t(upper[i].unicode()))
            return false;
    }
    return true;
}

struct CommandName
{
    QLatin1StringView upper;
    CommandWord word;
};

// Order matters only for documentation: names are distinct, so the first equal one is the only one.
constexpr std::array<CommandName, 15> commandNames{{
    {QLatin1StringView("COUNTER"), CommandWord::Counter},
    {QLatin1StringView("ECHO"), CommandWord::Echo},
    {QLatin1StringView("EXIT"), CommandWord::Exit},
    {QLatin1StringView("GOTO"), CommandWord::Goto},
    {QLatin1StringView("IF_"), CommandWord::IfUnderscore},
    {QLatin1StringView("IF"), CommandWord::If},
    {QLatin1StringView("MATCH"), CommandWord::Match},
    {QLatin1StringView("MATCHWAIT"), CommandWord::Matchwait},
    {QLatin1StringView("MOVE"), CommandWord::Move},
    {QLatin1StringView("PAUSE"), CommandWord::Pause},
    {QLatin1StringView("PUT"), CommandWord::Put},
    {QLatin1StringView("SAVE"), CommandWord::Save},
    {QLatin1StringView("SHIFT"), CommandWord::Shift},
    {QLatin1StringView("WAIT"), CommandWord::Wait},
    {QLatin1StringView("WAITFOR"), CommandWord::Waitfor},
}};

std::optional<CommandWord> asciiCommandWord(QStringView word)
{
    if (word.size() == 4 && equalsUpperAscii(word.first(3), QLatin1StringView("IF_"))) {
        const char16_t digit = word[3].unicode();
        if (digit >= u'0' && digit <= u'9')
            return CommandWord::IfDigit;
    }
    for (const CommandName &name : commandNames) {
        if (equalsUpperAscii(word, name.upper))
            return name.word;
    }
    return std::nullopt;
}

} // namespace

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

QList<QStringView> splitAtCrLf(QStringView text)
{
    QList<QStringView> lines;
    if (text.isEmpty())
        return lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = text.indexOf(u"\r\n", start);
        if (cr < 0)
            break;
        lines.append(text.sliced(start, cr - start));
        start = cr + 2;
    }
    lines.append(text.sliced(start));
    return lines;
}

QList<QStringView> splitEditorLines(QStringView text)
{
    QList<QStringView> lines;
    if (text.isEmpty())
        return lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\n') {
            lines.append(text.sliced(start, i - start));
            start = i + 1;
        } else if (c == u'\r') {
            lines.append(text.sliced(start, i - start));
            if (i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    lines.append(text.sliced(start));
    return lines;
}

QString joinWithCrLf(const QList<QStringView> &lines)
{
    qsizetype size = 0;
    for (QStringView line : lines)
        size += line.size() + 2;
    QString joined;
    joined.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += u"\r\n";
        joined += lines[i];
    }
    return joined;
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
