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

RunValues::Substituted RunValues::substitute(QStringView line, qsizetype maxLength) const
{
    Substituted out;
    out.text.reserve(line.size());
    auto argument = [&](QChar digit) {
        const int n = digit.digitValue();
        return n == 0 ? arguments.join(u' ') : arguments.value(n - 1);
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (out.text.size() > maxLength) {
            out.tooLong = true;
            return out;
        }
        const QChar c = line[i];
        if ((c != u'%' && c != u'$') || i + 1 >= line.size()) {
            out.text += c;
            continue;
        }
        const QStringView word = wordAt(line, i + 1);
        if (word.isEmpty()) {
            out.text += c;
            continue;
        }
        const QString upper = upperCased(word);
        if (c == u'$') {
            if (const auto found = globals.constFind(upper); found != globals.constEnd())
                out.text += *found;
            else if (word.size() == 1 && word[0].isDigit())
                out.text += argument(word[0]);
            else {
                out.unknownGlobals.append(word.toString());
                out.text += c + word.toString();
            }
        } else if (const auto found = variables.constFind(upper); found != variables.constEnd()) {
            out.text += *found;
        } else if (word[0].isDigit() && word[0].digitValue() >= 0) {
            // %1st: the argument, then the rest as written.
            out.text += argument(word[0]);
            out.text += word.sliced(1);
        } else if (upper == u"C") {
            out.text += numberText(counter);
        } else if (upper == u"S") {
            out.text += saved;
        } else {
            out.text += c + word.toString();
        }
        i += word.size();
    }
    out.tooLong = out.text.size() > maxLength;
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
