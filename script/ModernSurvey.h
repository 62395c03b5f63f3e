#pragma once

#include <QStringView>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace Korveth {

// What a modern line's neighbours decide about it.
struct ModernLineFacts
{
    // Bits: a million lines' facts fit in two megabytes.
    bool embedded : 1 = false;       // between <% and %>
    bool unmatchedClose : 1 = false; // a } with no open {
    bool neverClosed : 1 = false;    // a { with no }
    bool thenWithoutCommand : 1 = false;
    bool elseAfterElse : 1 = false; // an else or elseif of an if that already had its else
    signed char include : 2 = 0;    // 0 no include, 1 found, -1 not found

    friend bool operator==(const ModernLineFacts &, const ModernLineFacts &) = default;
};

// The part a line plays in an if's chain of elseif and else.
enum class ChainPart : unsigned char {
    Other,   // any other command or a label: the chain ends
    Neutral, // a brace alone: the chain goes on
    If,
    Elseif,
    Else,
};

// What the survey needs to know of a line, worked out once per line so that a survey of an
// edited script runs over these alone.
struct ModernLineShape
{
    bool empty : 1 = false;
    bool startsEmbedded : 1 = false;     // "<%"
    bool endsEmbedded : 1 = false;       // holds "%>"
    bool endsEmbeddedAtOnce : 1 = false; // "<%" and "%>" at its very start ("<%>")
    bool comment : 1 = false;
    bool startsWithBrace : 1 = false;
    bool closesBlock : 1 = false;
    bool opensBlock : 1 = false;
    bool thenAtEnd : 1 = false; // an if or elseif whose then has nothing after it
    ChainPart chain : 3 = ChainPart::Other;
    signed char include : 2 = 0; // 0 no include, 1 found, -1 not found

    friend bool operator==(const ModernLineShape &, const ModernLineShape &) = default;
};

// Works out the facts of every line in one pass over the trimmed lines, in order: blocks,
// embedded code, a then without a command, a second else, includes. A then waits for the next line
// that is not empty to know whether a block follows.
class ModernSurvey
{
public:
    // Tells whether the file an include line names (what follows the word) exists.
    using IncludeFound = std::function<bool(QStringView written)>;

    explicit ModernSurvey(IncludeFound includeFound = {});

    static ModernLineShape shapeOf(QStringView trimmedLine, const IncludeFound &includeFound);
    // True when a line (UTF-8, trimmed) is surely plain: not empty, no block, embedded code,
    // comment, label, include or if; its shape is then the default one, learnt without
    // decoding it.
    static bool isPlain(QByteArrayView trimmedUtf8);
    static bool isPlain(QStringView trimmedLine);
    void reserve(std::size_t lines) { m_facts.reserve(lines); }
    void addLine(QStringView trimmedLine);
    void addShape(const ModernLineShape &shape);
    std::vector<ModernLineFacts> finish();

private:
    IncludeFound m_includeFound;
    std::vector<ModernLineFacts> m_facts;
    std::vector<std::size_t> m_open;
    // Whether the last if at each depth of blocks (0 outside them) has had its else.
    enum class Chain : unsigned char { None, Open, ElseSeen };
    std::vector<Chain> m_chains{Chain::None};
    std::optional<std::size_t> m_pendingThen;
    bool m_embedded = false;
};

} // namespace Korveth
