#include "RunExpression.h"

#include "RunPattern.h"
#include "RunValues.h"

#include <QHash>
#include <QList>

#include <cmath>

namespace Korveth {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// A recursive-descent reader over the expression's text; the first error wins.
class ExpressionReader
{
public:
    ExpressionReader(QStringView text, const std::function<bool(QStringView)> &isSet)
        : m_text(text)
        , m_isSet(isSet)
    {}

    ExpressionValue read()
    {
        ExpressionValue value = orExpression();
        skipBlanks();
        if (m_error.isEmpty() && m_at < m_text.size())
            fail(QStringLiteral("unexpected \"%1\"").arg(m_text.sliced(m_at).toString()));
        if (!m_error.isEmpty())
            return {std::nullopt, {}, m_error, m_unknown, {}};
        value.captures = std::move(m_captures);
        return value;
    }

private:
    static ExpressionValue number(double n) { return {n, numberText(n), {}, false, {}}; }
    static ExpressionValue text(QString t)
    {
        const auto n = numberOf(t);
        return {n, std::move(t), {}, false, {}};
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
        const Nesting level(*this);
        if (!level.ok())
            return number(0);
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
        if (!m_text.sliced(m_at).startsWith(u"!=") && (take(u"!") || take(u"not", true))) {
            const Nesting level(*this);
            return level.ok() ? number(!notExpression().truth()) : number(0);
        }
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
            // An argument or variable that held nothing leaves no value after it: an empty text.
            skipBlanks();
            const ExpressionValue right = m_at >= m_text.size() ? text({}) : sum();
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
            const Nesting level(*this);
            if (!level.ok())
                return number(0);
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
        // A variable that held nothing leaves no value before a comparison: an empty text.
        if (c == u'=' || c == u'<' || c == u'>'
            || (c == u'!' && m_text.sliced(m_at).startsWith(u"!=")))
            return text({});
        if (c == u'"' || c == u'\'') {
            const qsizetype end = m_text.indexOf(c, m_at + 1);
            if (end < 0) {
                fail(QStringLiteral("a closing %1 is missing").arg(c));
                return text({});
            }
            QString quoted = m_text.sliced(m_at + 1, end - m_at - 1).toString();
            m_at = end + 1;
            return {std::nullopt, std::move(quoted), {}, false, {}};
        }
        qsizetype end = m_at;
        // A %name or $name never set stays as written, and is a text like any other.
        while (end < m_text.size()
               && (isWordChar(m_text[end]) || m_text[end] == u'.' || m_text[end] == u'%'
                   || m_text[end] == u'$'))
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
                arguments.append(argument());
            while (take(u","));
            if (!take(u")"))
                fail(QStringLiteral("a \")\" is missing"));
        }
        const QString lower = name.toString().toLower();
        const auto arity = functionArity(lower);
        if (!arity) {
            m_unknown = m_error.isEmpty();
            fail(
                QStringLiteral("the function %1 is not known to the dry run").arg(name.toString()));
            return number(0);
        }
        if (arguments.size() != *arity) {
            fail(QStringLiteral("%1 takes %2 values").arg(lower).arg(*arity));
            return number(0);
        }
        return apply(lower, arguments);
    }

    // A value given to a function. Scripts pass a variable holding several words unquoted
    // (`matchre(%0, "...")`): the words up to the next comma or ")" are one text.
    ExpressionValue argument()
    {
        skipBlanks();
        const qsizetype start = m_at;
        ExpressionValue value = orExpression();
        skipBlanks();
        if (!m_error.isEmpty() || m_at >= m_text.size() || m_text[m_at] == u','
            || m_text[m_at] == u')')
            return value;
        qsizetype end = m_at;
        while (end < m_text.size() && m_text[end] != u',' && m_text[end] != u')')
            ++end;
        m_at = end;
        return text(m_text.sliced(start, end - start).trimmed().toString());
    }

    // The functions a condition may call, by the number of values each takes.
    static std::optional<qsizetype> functionArity(QStringView name)
    {
        static const QHash<QString, qsizetype> known{
            {QStringLiteral("len"), 1},
            {QStringLiteral("length"), 1},
            {QStringLiteral("tolower"), 1},
            {QStringLiteral("toupper"), 1},
            {QStringLiteral("trim"), 1},
            {QStringLiteral("def"), 1},
            {QStringLiteral("contains"), 2},
            {QStringLiteral("startswith"), 2},
            {QStringLiteral("endswith"), 2},
            {QStringLiteral("indexof"), 2},
            {QStringLiteral("count"), 2},
            {QStringLiteral("element"), 2},
            {QStringLiteral("matchre"), 2},
            {QStringLiteral("replace"), 3},
            {QStringLiteral("replacere"), 3},
            {QStringLiteral("substring"), 3},
        };
        const auto found = known.constFind(name.toString());
        return found == known.constEnd() ? std::nullopt : std::optional<qsizetype>(*found);
    }

    ExpressionValue apply(const QString &name, const QList<ExpressionValue> &values)
    {
        const QString &a = values[0].text;
        const auto whole = [&](int i) {
            return values[i].number ? qsizetype(*values[i].number) : -1;
        };
        if (name == u"len" || name == u"length")
            return number(double(a.size()));
        if (name == u"tolower")
            return text(a.toLower());
        if (name == u"toupper")
            return text(a.toUpper());
        if (name == u"trim")
            return text(a.trimmed());
        if (name == u"def")
            return number(m_isSet && m_isSet(a));
        const QString &b = values[1].text;
        if (name == u"contains")
            return number(a.contains(b, Qt::CaseInsensitive));
        if (name == u"startswith")
            return number(a.startsWith(b, Qt::CaseInsensitive));
        if (name == u"endswith")
            return number(a.endsWith(b, Qt::CaseInsensitive));
        if (name == u"indexof")
            return number(double(a.indexOf(b, 0, Qt::CaseInsensitive)));
        if (name == u"count")
            return number(b.isEmpty() ? 0 : double(a.count(b, Qt::CaseInsensitive)));
        if (name == u"element") {
            // A list as scripts keep one: items between "|".
            const QStringList items = a.split(u'|');
            const qsizetype at = whole(1);
            return text(at >= 0 && at < items.size() ? items[at] : QString());
        }
        if (name == u"matchre" || name == u"replacere") {
            const RunPattern pattern(b);
            if (!pattern.isValid()) {
                fail(QStringLiteral("the pattern %1 is not valid: %2").arg(b, pattern.error()));
                return number(0);
            }
            if (name == u"matchre") {
                if (pattern.match(a) != RunPattern::Result::Match)
                    return number(0);
                m_captures = pattern.groups(a);
                return number(1);
            }
            const auto replaced = pattern.replaceAll(a, values[2].text);
            if (!replaced)
                fail(QStringLiteral("the pattern %1 costs too much to replace with").arg(b));
            return text(replaced.value_or(a));
        }
        if (name == u"replace")
            return text(b.isEmpty() ? a : QString(a).replace(b, values[2].text));
        // substring(text, start, length), counted from 0
        const qsizetype start = whole(1), length = whole(2);
        if (start < 0 || length < 0) {
            fail(QStringLiteral("substring takes a start and a length that are whole numbers"));
            return text({});
        }
        return text(a.mid(start, length));
    }

    // Counts a level of nesting while it lasts; false past the limit, which is then the error.
    class Nesting
    {
    public:
        explicit Nesting(ExpressionReader &reader)
            : m_reader(reader)
        {
            if (++m_reader.m_depth > maxExpressionDepth)
                m_reader.fail(QStringLiteral("the expression nests deeper than %1 levels")
                                  .arg(maxExpressionDepth));
        }
        ~Nesting() { --m_reader.m_depth; }
        bool ok() const { return m_reader.m_depth <= maxExpressionDepth; }

    private:
        ExpressionReader &m_reader;
    };

    QStringView m_text;
    const std::function<bool(QStringView)> &m_isSet;
    qsizetype m_at = 0;
    int m_depth = 0;
    QString m_error;
    bool m_unknown = false;
    QStringList m_captures;
};

} // namespace

ExpressionValue evaluateExpression(QStringView expression,
                                   const std::function<bool(QStringView)> &isSet)
{
    return ExpressionReader(expression, isSet).read();
}

} // namespace Korveth
