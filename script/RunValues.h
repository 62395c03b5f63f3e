#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

namespace Korveth {

// What a dry run knows of a script's values: its arguments, the counter and save variables, the
// variables it sets, and the globals the user gave. Names are compared without letter case.
class RunValues
{
public:
    QStringList arguments;             // %1 .. %9; %0 is all of them
    double counter = 0;                // %c
    QString saved;                     // %s
    QHash<QString, QString> variables; // %name, upper-cased
    QHash<QString, QString> globals;   // $name, upper-cased

    void setVariable(QStringView name, const QString &value);
    bool removeVariable(QStringView name);
    std::optional<QString> variable(QStringView name) const;
    void shift();

    struct Substituted
    {
        QString text;
        QStringList unknownGlobals; // $names the user never gave
    };
    // The line with its %- and $-values put in. A %name that is not set stays as written, as the
    // game's front end leaves it.
    Substituted substitute(QStringView line) const;
};

// The text as matches compare it, letter case ignored: looked for with a plain search in a game
// line folded the same way.
QString foldedForMatching(QStringView text);
// The same into a buffer whose room is used again.
void foldForMatching(QStringView text, QString &into);

// A pattern as matchre, waitforre and actions write it: /BODY/FLAGS (the flag i ignores letter
// case) or BODY alone; it may not be valid. Nothing for a pattern that repeats a repeat, as
// (a+)+: on a long line without a match it can take hours.
std::optional<QRegularExpression> runPattern(QStringView written);

// A number as scripts write it ("5", "-2.5"); nothing for any other text.
std::optional<double> numberOf(QStringView text);
// A number as a script shows it: no ".0" on a whole number.
QString numberText(double value);

// An expression's value: a number or a text, or why it has none.
struct ExpressionValue
{
    std::optional<double> number;
    QString text;
    QString error; // not empty: the expression could not be worked out

    bool truth() const { return number ? *number != 0 : !text.isEmpty(); }
};

// Works out a condition or a sum: numbers, "quoted" or bare texts, + - * / %, comparisons
// (= == != <> < > <= >=), and / or / && / || / not / !, parentheses, and the functions
// contains(a, b), startswith(a, b), endswith(a, b), len(a). Texts compare without letter case.
ExpressionValue evaluateExpression(QStringView expression);

} // namespace Korveth
