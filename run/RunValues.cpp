#include "RunValues.h"

#include "ScriptLanguage.h"

#include <cmath>

namespace Korveth {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

QStringView wordAt(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isWordChar(text[end]))
        ++end;
    return text.sliced(from, end - from);
}

// A name with its dotted parts ("max.item", "Skill.LearningRate"); a dot not followed by a word
// character ends it (the full stop of "%count.").
QStringView dottedWordAt(QStringView text, qsizetype from)
{
    qsizetype end = from + wordAt(text, from).size();
    while (end + 1 < text.size() && text[end] == u'.' && isWordChar(text[end + 1]))
        end += 1 + wordAt(text, end + 1).size();
    return text.sliced(from, end - from);
}

// The longest name, whole or cut at a dot, that the table holds.
template<typename Table>
std::pair<QStringView, typename Table::const_iterator> longestKnown(const Table &table,
                                                                    QStringView dotted)
{
    for (QStringView name = dotted;;) {
        if (const auto found = table.constFind(upperCased(name)); found != table.constEnd())
            return {name, found};
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot <= 0)
            return {{}, table.constEnd()};
        name = name.first(dot);
    }
}

} // namespace

void RunValues::setVariable(QStringView name, const QString &value)
{
    QString key = upperCased(name);
    if (const auto found = variables.find(key); found != variables.end()) {
        m_characters += value.size() - found->size();
        *found = value;
        return;
    }
    m_characters += key.size() + value.size();
    variables.insert(std::move(key), value);
}

bool RunValues::removeVariable(QStringView name)
{
    const auto found = variables.find(upperCased(name));
    if (found == variables.end())
        return false;
    m_characters -= found.key().size() + found->size();
    variables.erase(found);
    return true;
}

std::optional<QString> RunValues::variable(QStringView name) const
{
    const auto found = variables.constFind(upperCased(name));
    return found == variables.constEnd() ? std::nullopt : std::optional<QString>(*found);
}

void RunValues::shift()
{
    if (!arguments.isEmpty())
        arguments.removeFirst();
}

QString RunValues::argument(int n) const
{
    return n == 0 ? arguments.join(u' ') : arguments.value(n - 1);
}

QString RunValues::dollarDigit(int n) const
{
    return captures.isEmpty() ? argument(n) : captures.value(n);
}

// One pass over the text: each %name and $name put in once.
bool RunValues::substituteOnce(QStringView line, qsizetype maxLength, Substituted &out) const
{
    out.text.clear();
    out.text.reserve(line.size());
    bool replaced = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (out.text.size() > maxLength) {
            out.tooLong = true;
            return replaced;
        }
        const QChar c = line[i];
        if ((c != u'%' && c != u'$') || i + 1 >= line.size()) {
            out.text += c;
            continue;
        }
        const QStringView dotted = dottedWordAt(line, i + 1);
        if (dotted.isEmpty()) {
            out.text += c;
            continue;
        }
        const auto &table = c == u'$' ? globals : variables;
        if (const auto [name, found] = longestKnown(table, dotted); !name.isEmpty()) {
            replaced = true;
            out.text += *found;
            i += name.size();
            continue;
        }
        if (dotted[0].isDigit()) {
            replaced = true;
            // %1st, $0mana: the digit's value, then the rest as written.
            out.text += c == u'$' ? dollarDigit(dotted[0].digitValue())
                                  : argument(dotted[0].digitValue());
            i += 1;
            continue;
        }
        const QStringView word = wordAt(line, i + 1);
        const QString upper = upperCased(word);
        if (c == u'%' && (upper == u"C" || upper == u"S")) {
            replaced = true;
            out.text += upper == u"C" ? numberText(counter) : saved;
        } else {
            if (c == u'$' && !out.unknownGlobals.contains(dotted.toString()))
                out.unknownGlobals.append(dotted.toString());
            out.text += c;
            continue; // the name stays as written, and may be built further on in the text
        }
        i += word.size();
    }
    out.tooLong = out.text.size() > maxLength;
    return replaced;
}

RunValues::Substituted RunValues::substitute(QStringView line, qsizetype maxLength) const
{
    // A name may be built from others ("%weapon%c", "%$0mana"): what one pass puts in is looked
    // at again, a few passes at most, until nothing more is put in.
    constexpr int passes = 4;
    Substituted out;
    if (!line.contains(u'%') && !line.contains(u'$')) {
        out.text = line.toString();
        out.tooLong = out.text.size() > maxLength;
        return out;
    }
    QString text = line.toString();
    for (int pass = 0; pass < passes; ++pass) {
        Substituted next;
        const bool replaced = substituteOnce(text, maxLength, next);
        out.tooLong = next.tooLong;
        out.unknownGlobals = next.unknownGlobals;
        if (next.tooLong || !replaced || next.text == text) {
            out.text = std::move(next.text);
            return out;
        }
        text = std::move(next.text);
    }
    out.text = std::move(text);
    return out;
}

void foldForMatching(QStringView text, QString &into)
{
    into.resize(text.size());
    QChar *out = into.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            into = text.toString().toCaseFolded();
            return;
        }
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c);
    }
}

QString foldedForMatching(QStringView text)
{
    QString folded;
    foldForMatching(text, folded);
    return folded;
}

std::optional<double> numberOf(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString numberText(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 12);
}

} // namespace Korveth
