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
    variables.insert(upperCased(name), value);
}

bool RunValues::removeVariable(QStringView name)
{
    return variables.remove(upperCased(name)) > 0;
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

RunValues::Substituted RunValues::substitute(QStringView line) const
{
    Substituted out;
    out.text.reserve(line.size());
    auto argument = [&](QChar digit) {
        const int n = digit.digitValue();
        return n == 0 ? arguments.join(u' ') : arguments.value(n - 1);
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
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

// Whether a pattern nests a repeat inside a repeat, as (a+)+ or (\w*)*: on a long line without a
// match it takes time that grows exponentially. Such a pattern is refused before it runs.
static bool nestsRepeats(QStringView pattern)
{
    std::vector<bool> repeatInside{false};
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'\\') {
            ++i;
            continue;
        }
        if (c == u'(') {
            repeatInside.push_back(false);
        } else if (c == u')' && repeatInside.size() > 1) {
            const bool inner = repeatInside.back();
            repeatInside.pop_back();
            const QChar next = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
            if (inner && (next == u'+' || next == u'*' || next == u'{'))
                return true;
            repeatInside.back() = repeatInside.back() || inner;
        } else if (c == u'+' || c == u'*' || c == u'{') {
            repeatInside.back() = true;
        }
    }
    return false;
}

std::optional<QRegularExpression> runPattern(QStringView written)
{
    QStringView body = written;
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (body.startsWith(u'/') && body.lastIndexOf(u'/') > 0) {
        const qsizetype end = body.lastIndexOf(u'/');
        if (body.sliced(end + 1).contains(u'i'))
            options |= QRegularExpression::CaseInsensitiveOption;
        body = body.sliced(1, end - 1);
    }
    if (nestsRepeats(body))
        return std::nullopt;
    return QRegularExpression(body.toString(), options);
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

namespace {

// A recursive-descent reader over the expression's text; the first error wins.
class ExpressionReader
{
public:
    explicit ExpressionReader(QStringView text)
        : m_text(text)
    {}

    ExpressionValue read()
    {
        ExpressionValue value = orExpression();
        skipBlanks();
        if (m_error.isEmpty() && m_at < m_text.size())
            fail(QStringLiteral("unexpected \"%1\"").arg(m_text.sliced(m_at).toString()));
        if (!m_error.isEmpty())
            return {std::nullopt, {}, m_error};
        return value;
    }

private:
    static ExpressionValue number(double n) { return {n, numberText(n), {}}; }
    static ExpressionValue text(QString t)
    {
        const auto n = numberOf(t);
        return {n, std::move(t), {}};
    }

    void fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = why;
    }
    void skipBlanks()
    {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }
    bool take(QStringView token, bool word = false)
    {
        skipBlanks();
        if (!m_text.sliced(m_at).startsWith(token, Qt::CaseInsensitive))
            return false;
        const qsizetype end = m_at + token.size();
        if (word && end < m_text.size() && isWordChar(m_text[end]))
            return false;
        m_at = end;
        return true;
    }

    ExpressionValue orExpression()
    {
        ExpressionValue left = andExpression();
        while (take(u"||") || take(u"or", true)) {
            const ExpressionValue right = andExpression();
            left = number(left.truth() || right.truth());
        }
        return left;
    }
    ExpressionValue andExpression()
    {
        ExpressionValue left = notExpression();
        while (take(u"&&") || take(u"and", true)) {
            const ExpressionValue right = notExpression();
            left = number(left.truth() && right.truth());
        }
        return left;
    }
    ExpressionValue notExpression()
    {
        skipBlanks();
        if (!m_text.sliced(m_at).startsWith(u"!=") && (take(u"!") || take(u"not", true)))
            return number(!notExpression().truth());
        return comparison();
    }
    ExpressionValue comparison()
    {
        const ExpressionValue left = sum();
        static const QStringView operators[]
            = {u"==", u"!=", u"<>", u"<=", u">=", u"=", u"<", u">"};
        for (QStringView op : operators) {
            if (!take(op))
                continue;
            const ExpressionValue right = sum();
            int order = 0;
            if (left.number && right.number)
                order = *left.number < *right.number ? -1 : *left.number > *right.number ? 1 : 0;
            else
                order = QString::compare(left.text, right.text, Qt::CaseInsensitive);
            if (op == u"==" || op == u"=")
                return number(order == 0);
            if (op == u"!=" || op == u"<>")
                return number(order != 0);
            if (op == u"<=")
                return number(order <= 0);
            if (op == u">=")
                return number(order >= 0);
            return number(op == u"<" ? order < 0 : order > 0);
        }
        return left;
    }
    std::optional<double> numeric(const ExpressionValue &v)
    {
        if (!v.number)
            fail(QStringLiteral("\"%1\" is not a number").arg(v.text));
        return v.number;
    }
    ExpressionValue sum()
    {
        ExpressionValue left = term();
        for (;;) {
            const bool plus = take(u"+");
            if (!plus && !take(u"-"))
                return left;
            const ExpressionValue right = term();
            const auto a = numeric(left), b = numeric(right);
            left = number(a && b ? (plus ? *a + *b : *a - *b) : 0);
        }
    }
    ExpressionValue term()
    {
        ExpressionValue left = unary();
        for (;;) {
            QChar op;
            if (take(u"*"))
                op = u'*';
            else if (take(u"/"))
                op = u'/';
            else if (take(u"%"))
                op = u'%';
            else
                return left;
            const ExpressionValue right = unary();
            const auto a = numeric(left), b = numeric(right);
            if (!a || !b)
                return number(0);
            if (op != u'*' && *b == 0) {
                fail(QStringLiteral("division by zero"));
                return number(0);
            }
            left = number(op == u'*' ? *a * *b : op == u'/' ? *a / *b : std::fmod(*a, *b));
        }
    }
    ExpressionValue unary()
    {
        if (take(u"-")) {
            const auto v = numeric(unary());
            return number(v ? -*v : 0);
        }
        return primary();
    }
    ExpressionValue primary()
    {
        skipBlanks();
        if (m_at >= m_text.size()) {
            fail(QStringLiteral("a value is missing"));
            return text({});
        }
        if (take(u"(")) {
            ExpressionValue inner = orExpression();
            if (!take(u")"))
                fail(QStringLiteral("a \")\" is missing"));
            return inner;
        }
        const QChar c = m_text[m_at];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = m_text.indexOf(c, m_at + 1);
            if (end < 0) {
                fail(QStringLiteral("a closing %1 is missing").arg(c));
                return text({});
            }
            QString quoted = m_text.sliced(m_at + 1, end - m_at - 1).toString();
            m_at = end + 1;
            return {std::nullopt, std::move(quoted), {}};
        }
        qsizetype end = m_at;
        while (end < m_text.size() && (isWordChar(m_text[end]) || m_text[end] == u'.'))
            ++end;
        if (end == m_at) {
            fail(QStringLiteral("unexpected \"%1\"").arg(m_text.sliced(m_at).toString()));
            return text({});
        }
        const QStringView word = m_text.sliced(m_at, end - m_at);
        m_at = end;
        skipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == u'(')
            return call(word);
        return text(word.toString());
    }
    ExpressionValue call(QStringView name)
    {
        take(u"(");
        QList<ExpressionValue> arguments;
        if (!take(u")")) {
            do
                arguments.append(orExpression());
            while (take(u","));
            if (!take(u")"))
                fail(QStringLiteral("a \")\" is missing"));
        }
        const QString lower = name.toString().toLower();
        auto two = [&](auto test) {
            if (arguments.size() != 2) {
                fail(QStringLiteral("%1 takes two values").arg(lower));
                return number(0);
            }
            return number(test(arguments[0].text, arguments[1].text));
        };
        if (lower == u"contains")
            return two([](const QString &a, const QString &b) {
                return a.contains(b, Qt::CaseInsensitive);
            });
        if (lower == u"startswith")
            return two([](const QString &a, const QString &b) {
                return a.startsWith(b, Qt::CaseInsensitive);
            });
        if (lower == u"endswith")
            return two([](const QString &a, const QString &b) {
                return a.endsWith(b, Qt::CaseInsensitive);
            });
        if (lower == u"len" && arguments.size() == 1)
            return number(double(arguments[0].text.size()));
        fail(QStringLiteral("the function %1 is not known to the dry run").arg(name.toString()));
        return number(0);
    }

    QStringView m_text;
    qsizetype m_at = 0;
    QString m_error;
};

} // namespace

ExpressionValue evaluateExpression(QStringView expression)
{
    return ExpressionReader(expression).read();
}

} // namespace Korveth
