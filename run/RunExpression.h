#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Korveth {

// An expression's value: a number or a text, or why it has none.
struct ExpressionValue
{
    std::optional<double> number;
    QString text;
    QString error;        // not empty: the expression could not be worked out
    bool unknown = false; // and that is because it calls a function the dry run does not know
    // What the last matchre() that matched captured ($0, then its groups); empty if none did.
    QStringList captures;

    bool truth() const { return number ? *number != 0 : !text.isEmpty(); }
};

// Works out a condition or a sum: numbers, "quoted" or bare texts, + - * / %, comparisons
// (= == != <> < > <= >=), and / or / && / || / not / !, parentheses, and the functions of
// docs/runner.md (contains, tolower, element, replacere, ...). Texts compare without letter
// case. Nesting deeper than maxExpressionDepth (parentheses, not, -, function calls) is an error,
// so no expression can exhaust the stack. isSet answers def(name): whether a variable is set.
constexpr int maxExpressionDepth = 100;
ExpressionValue evaluateExpression(QStringView expression,
                                   const std::function<bool(QStringView name)> &isSet = {});

} // namespace Korveth
