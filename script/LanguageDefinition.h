#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <array>

// Colouring vocabularies registered under a name, and the script language's own definition. No
// widgets: the lexer that paints an editor reads a definition from here.
namespace Korveth {

struct LanguageDefinition
{
    bool caseSensitive = true;
    QString keywords;  // one per line, each followed by LF
    QString operators; // one per line, each followed by LF
    QString singleLineComment;
    int style = 0;
};

// The registration service every editor of the program shares: definitions by name. The
// program makes one at start-up and hands it to its editors; tests make their own.
class LanguageRegistry
{
public:
    void registerLanguage(const QString &name, const LanguageDefinition &definition);
    // Null when no language of that name is registered.
    const LanguageDefinition *find(const QString &name) const;

private:
    QHash<QString, LanguageDefinition> m_languages;
};

// The name the script language is registered under.
inline const QString scriptLanguageName = QStringLiteral("Perl");

// Builds the script language's definition and registers it under "Perl".
void RegisterScriptLanguage(LanguageRegistry &registry);

// How a piece of a line is painted.
enum class TokenStyle { Default = 0, Keyword = 1, Operator = 2, Comment = 3 };

struct StyledSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
    TokenStyle style = TokenStyle::Default;

    friend bool operator==(const StyledSpan &, const StyledSpan &) = default;
};

// A definition prepared for painting: keywords and operators as byte strings, ready to match
// against the editor's UTF-8 text.
class LanguageTokenizer
{
public:
    explicit LanguageTokenizer(const LanguageDefinition &definition);

    // The coloured spans of one line's UTF-8 bytes (no line end), left to right; what no span
    // covers is default text.
    QList<StyledSpan> styleLine(QByteArrayView line) const;

    // The same, written as one TokenStyle byte per byte of the line into styles, which the
    // caller has filled with TokenStyle::Default. No allocation: this is the painting path.
    void paintLine(QByteArrayView line, char *styles) const;

private:
    char foldedAt(QByteArrayView line, qsizetype at, qsizetype &bytes) const;
    // The bytes of the line from at that spell the word, or -1.
    qsizetype matchLength(QByteArrayView line, qsizetype at, const QByteArray &word) const;
    bool matchesAt(QByteArrayView line, qsizetype at, const QByteArray &word) const;
    qsizetype keywordAt(QByteArrayView line, qsizetype at) const;
    qsizetype operatorAt(QByteArrayView line, qsizetype at) const;

    bool m_caseSensitive;
    // By first byte (lower-cased when matching ignores case), longest first, so "counter add"
    // wins over "counter".
    std::array<QList<QByteArray>, 256> m_keywords;
    std::array<QList<QByteArray>, 256> m_operators;
    QByteArray m_comment;
};

} // namespace Korveth
