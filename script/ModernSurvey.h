#pragma once

#include <QStringView>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace Korveth {

// What an include line (or a #REQUIRE comment) finds under the name it writes.
enum class IncludeFile : signed char {
    None = 0,        // the line includes nothing
    Found = 1,       // a script that can be read
    Missing = -1,    // no file of that name
    Unreadable = -2, // a device, a FIFO, a socket, or a file past the size limit for scripts
};

// What a modern line's neighbours decide about it.
struct ModernLineFacts
{
    // Bits: a million lines' facts fit in two megabytes.
    bool embedded : 1 = false;       // between <% and %>
    bool unmatchedClose : 1 = false; // a } with no open {
    bool neverClosed : 1 = false;    // a { with no }
    bool thenWithoutCommand : 1 = false;
    bool elseAfterElse : 1 = false; // an else or elseif of an if that already had its else
    IncludeFile include : 2 = IncludeFile::None;

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
    IncludeFile include : 2 = IncludeFile::None;

    friend bool operator==(const ModernLineShape &, const ModernLineShape &) = default;
};

// Works out the facts of every line in one pass over the trimmed lines, in order: blocks,
// embedded code, a then without a command, a second else, includes. A then waits for the next line
// that is not empty to know whether a block follows.
class ModernSurvey
{
public:
    // Tells what the file an include line names (what follows the word) is.
    using IncludeLookup = std::function<IncludeFile(QStringView written)>;

    explicit ModernSurvey(IncludeLookup lookUp = {});

    static ModernLineShape shapeOf(QStringView trimmedLine, const IncludeLookup &lookUp);
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
    IncludeLookup m_lookUp;
    std::vector<ModernLineFacts> m_facts;
    std::vector<std::size_t> m_open;
    // Whether the last if at each depth of blocks (0 outside them) has had its else.
    enum class Chain : unsigned char { None, Open, ElseSeen };
    std::vector<Chain> m_chains{Chain::None};
    std::optional<std::size_t> m_pendingThen;
    bool m_embedded = false;
};

} // namespace Korveth
