#pragma once

#include <QHash>
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
    QHash<QString, QString> variables; // %name, upper-cased; changed only through the calls below
    QHash<QString, QString> globals;   // $name, upper-cased
    // $0 ... $9: what the last pattern that matched captured (the whole match, then its groups),
    // or a gosub's arguments as it starts; empty until either, when $N is the argument %N.
    QStringList captures;

    void setVariable(QStringView name, const QString &value);
    bool removeVariable(QStringView name);
    std::optional<QString> variable(QStringView name) const;
    void shift();
    // The characters of the variables' names and values together.
    qint64 characters() const { return m_characters; }

    struct Substituted
    {
        QString text;
        QStringList unknownGlobals; // $names the user never gave
        bool tooLong = false;       // cut short: it would be longer than asked
    };
    // The line with its %- and $-values put in. A %name that is not set stays as written, as the
    // game's front end leaves it.
    Substituted substitute(QStringView line, qsizetype maxLength = 1 << 30) const;

private:
    QString argument(int n) const;
    QString dollarDigit(int n) const;
    bool substituteOnce(QStringView line, qsizetype maxLength, Substituted &out) const;
    qint64 m_characters = 0;
};

// The text as matches compare it, letter case ignored: looked for with a plain search in a game
// line folded the same way.
QString foldedForMatching(QStringView text);
// The same into a buffer whose room is used again.
void foldForMatching(QStringView text, QString &into);

// A number as scripts write it ("5", "-2.5"); nothing for any other text.
std::optional<double> numberOf(QStringView text);
// A number as a script shows it: no ".0" on a whole number.
QString numberText(double value);

} // namespace Korveth
