#pragma once

#include "LabelIndex.h"
#include "LabelList.h"
#include "LabelReferences.h"
#include "LibraryReferences.h"
#include "ModernChecker.h"
#include "ModernSurvey.h"
#include "NameCounts.h"
#include "ScriptChecker.h"
#include "ScriptLibrary.h"
#include "TextArena.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <algorithm>
#include <memory>
#include <vector>

namespace Korveth {

// A mistake on a line, with the range of the word it is about.
struct Diagnostic
{
    int line = 0;
    qsizetype column = 0; // UTF-16 units
    qsizetype length = 0;
    VerdictKind kind = VerdictKind::CommandNotRecognised;

    QStringView message() const { return verdictText(kind); }

    friend bool operator==(const Diagnostic &, const Diagnostic &) = default;
};

// A script as the checker sees it while it is being edited: every line's verdicts in the chosen
// dialect, the labels defined and the references to them. Each update() is told the whole text,
// or replaceBytes() the bytes that changed; only the lines that differ from the last one, and the
// lines whose verdict depends on what changed (a label that appeared or vanished, a block that now
// closes elsewhere, the match count running on), are judged again.
class ScriptModel : private ModernChecker::KnownLabels
{
public:
    // Includes are looked for as the search says, through the library shared with the other
    // scripts' models (none: one of its own).
    explicit ScriptModel(DialectChoice choice = DialectChoice::Auto,
                         IncludeSearch search = {},
                         ScriptLibrary *library = nullptr);

    // Where includes are looked for (an empty folder: a script with no file yet); the choice of
    // dialect. Either judges every line again.
    void setIncludeSearch(const IncludeSearch &search);
    void setDialectChoice(DialectChoice choice);
    // Looks at the included scripts again (their files, or their text open elsewhere) and judges
    // again the lines their labels or their being there decide; true when something changed.
    bool refreshIncludes();

    // The script's text as UTF-8; lines end with CR LF, LF or CR. The model keeps the text to
    // compare the next one with: shared, not copied, so it may be a view of bytes its caller keeps
    // unchanged until it calls textChanging(). False when it is the text it had.
    bool update(QByteArray utf8);
    // Or the text told where it differs from the one before: from that place, the bytes before
    // (as they were) gave way to the new text's own, up to where the unchanged rest begins. An
    // editor following the user's typing needs to keep no copy of its text for it. False, and
    // nothing changed, when the model holds no such text (after edit(), or a change that does not
    // fit it): it needs the whole text.
    bool replaceBytes(QByteArray utf8, qsizetype from, QByteArrayView before);
    // The text last given is about to change where it lies: until the next one is given, its
    // lines read as empty, and a whole text is taken as all new.
    void textChanging();
    // The text as last given; empty after edit() or textChanging().
    const QByteArray &utf8() const { return m_text; }
    // Whether the lines can be read: not between textChanging() and the next text.
    bool textReadable() const { return m_textReadable || !m_textKnown; }
    // Or only what changed: the lines from first, that many of them, replaced by the new ones (an
    // editor that knows its lines need not send the whole text).
    void edit(int first, int removed, QList<QString> inserted);
    // The same with the new lines as one text, cut at CR LF, LF or CR (an empty text is one empty
    // line). A text given to a model without lines is kept as it is, not copied.
    void editText(int first, int removed, const QString &text);

    int lineCount() const { return int(m_lines.size()); }
    // Valid until the next change.
    LineText lineText(int line) const { return textOf(m_lines[std::size_t(line)]); }
    Dialect dialect() const { return m_dialect; }
    // The verdicts of a line.
    std::pair<std::optional<Verdict>, std::optional<Verdict>> verdicts(int line) const;

    int mistakeCount() const { return m_mistakes; }
    QList<Diagnostic> diagnostics() const;
    QList<Diagnostic> diagnostics(int line) const;

    // Labels defined in this script, in order; the labels its includes bring in.
    LabelList labels() const;
    // Brings a list labels() gave, while labelNamesVersion() stayed the one it was given at, to
    // where the labels stand now: lines typed above them move them, and the names are kept, not
    // copied again.
    void placeLabels(LabelList &labels) const;
    QStringList includedLabels();
    // Where a label (letter case ignored) is defined: first in this script, if at all.
    std::optional<LabelDefinitionAt> definitionOf(QStringView name) const;
    // Every reference to the label (letter case ignored): line, column and length.
    QList<Diagnostic> referencesTo(QStringView name) const;
    // Where an included script defines the label, when this one does not.
    std::optional<IncludedLabel> includedDefinitionOf(QStringView name);
    // Every place a rename of the label changes: its definitions and references, in order.
    QList<Diagnostic> renameRanges(QStringView name) const;
    // The same places with their lines, the definitions marked: the label within this script
    // alone, for a script no library knows.
    QList<LabelPlace> labelPlaces(QStringView name) const;
    // Whether this script or its includes know another label by the new name.
    bool nameTaken(QStringView name, QStringView newName);
    // The label name at a place: a reference or a definition; empty when there is none.
    QString labelAt(int line, qsizetype column) const;
    // Where that name stands on the line.
    std::optional<LabelReference> labelRangeAt(int line, qsizetype column) const;

    // How many lines the last update judged: for tests and benchmarks.
    int lastJudgedCount() const { return m_lastJudged; }
    // Changes whenever labels() may answer otherwise (a label line came or went, lines moved), so
    // that a caller may keep the last answer: in a long script it takes a walk over every line.
    std::uint64_t labelsVersion() const { return m_labelsVersion; }
    // Changes whenever the names labels() gives differ (a label came, went or was renamed); lines
    // moving alone leave it, so a sorted list of the names may be kept longer.
    std::uint64_t labelNamesVersion() const { return m_labelNamesVersion; }

private:
    // A line's state, kept small and in one array: its text lives in m_texts. The verdicts, the
    // checker's counts of matches before and after the line and the flags share one word: 8
    // bytes a line.
    struct Line
    {
        TextArena::Span text;
        std::uint32_t firstKind : 7 = noVerdict;
        std::uint32_t secondKind : 7 = noVerdict;
        // Held at mostMatches, past which no count is judged otherwise; one more than the count,
        // so that 0 is a line never judged.
        std::uint32_t matchesBefore : 6 = 0;
        std::uint32_t matchesAfter : 6 = 0;
        std::uint32_t labelDependent : 1 = 0; // its verdict may change when labels do
        std::uint32_t hasColon : 1 = 0;
        std::uint32_t looksModern : 1 = 0;
        std::uint32_t definesLabel : 1 = 0;
        std::uint32_t includes : 1 = 0; // an include or a required part

        static constexpr std::uint32_t noVerdict = 127;
        static std::uint32_t kindOf(std::optional<Verdict> verdict)
        {
            return verdict ? std::uint32_t(verdict->kind) : noVerdict;
        }
        static std::optional<Verdict> verdictOf(std::uint32_t kind)
        {
            if (kind == noVerdict)
                return std::nullopt;
            return Verdict{VerdictKind(kind)};
        }
        std::optional<Verdict> first() const { return verdictOf(firstKind); }
        std::optional<Verdict> second() const { return verdictOf(secondKind); }
        int mistakes() const
        {
            return (firstKind != noVerdict && isMistake(VerdictKind(firstKind)))
                   + (secondKind != noVerdict && isMistake(VerdictKind(secondKind)));
        }
        std::int32_t matchBefore() const { return std::int32_t(matchesBefore) - 1; }
        std::int32_t matchAfter() const { return std::int32_t(matchesAfter) - 1; }
    };
    static_assert(sizeof(Line) <= 8);
    static_assert(int(VerdictKind::TooManyMatches) < int(Line::noVerdict));
    // A block's 33rd match is told of, and every later one judged alike: counts past it are kept
    // as 33, which judges the lines after it as any higher count would.
    static constexpr std::int32_t mostMatches = 33;

    LineText textOf(const Line &line) const { return m_texts.text(line.text); }
    // What to reserve for a whole script's lines: a vector that grows holds its old block and its
    // new one at once, megabytes each in a long script, while room never used is never touched
    // and costs no memory.
    static std::size_t withRoom(std::size_t lines) { return lines + lines / 8 + 64; }
    template<typename T> static std::vector<T> perLine(std::size_t lines, bool whole)
    {
        std::vector<T> items;
        items.reserve(whole ? withRoom(lines) : lines);
        items.resize(lines);
        return items;
    }
    // Where the label a line defines stands on it; none for a line that defines no label.
    std::optional<LabelReference> labelDefinedOn(const Line &line) const
    {
        if (!line.definesLabel)
            return std::nullopt;
        const LineText text = textOf(line);
        return labelDefinition(text);
    }
    qsizetype labelLineCount() const
    {
        return std::count_if(
            m_lines.begin(), m_lines.end(), [](const Line &l) { return l.definesLabel; });
    }
    // Upper-cased, for a label line.
    QString definedLabelOf(const Line &line) const;
    // What follows "include" (or the part a #REQUIRE names), for an include line.
    QString includeOf(const Line &line) const;
    // Works out a line's flags; what the survey needs of it is returned.
    ModernLineShape describe(Line &line) const;
    void describeAll(std::vector<Line> &lines, std::vector<ModernLineShape> &shapes) const;
    // The lines from first up to end are read from the text before until they are replaced: from
    // its part that starts at start.
    void readingAnew(int first, int end, qsizetype start);
    // Where the lines a change touched stand: from the start of the line that holds the last
    // unchanged byte before it, to a line start within the unchanged bytes after it, or the end.
    struct ChangedLines
    {
        qsizetype start = 0;
        int firstLine = 0;
        qsizetype oldEnd = 0;
        qsizetype nowEnd = 0;
        bool cutAtBreak = false; // ends at a line start, not at the end
    };
    // The texts agree but for the bytes after prefix and before the suffix's.
    ChangedLines changedLines(QByteArrayView now, qsizetype prefix, qsizetype suffix) const;
    // The new text, told as a change of the bytes from a place: those removed gave way to its own.
    void takeChange(QByteArray utf8, qsizetype from, QByteArrayView removed);
    void holdText(QByteArray utf8);
    // Once the text is the new one: the lines changed are replaced; before holds the old text's
    // bytes from the change's start to its old end.
    void takeChangedLines(const ChangedLines &changed, QByteArray before);
    // The new lines have their texts and nothing more yet.
    void replaceLines(int first, int removed, std::vector<Line> fresh);
    // Whether two runs of lines define the same labels, as written and in order.
    bool sameLabelNames(const std::vector<Line> &a, const std::vector<Line> &b) const;
    // Drops the texts edits left behind once they outweigh the lines' own.
    void compactTexts();
    // The labels an edit made appear or vanish (upper-cased), or all of them at once.
    struct LabelChange
    {
        bool everything = false;
        QSet<QString> names;
    };
    LabelChange labelsChanged(const std::vector<Line> &removed, int first, int inserted);
    bool mayName(const Line &line, const QSet<QString> &names) const;
    void rebuildLabels();
    // Every line described and judged again: after a change of the dialect or the search, put
    // off (m_rejudgeOwed) while the lines cannot be read.
    void rejudgeAll();
    bool m_rejudgeOwed = false;
    // The modern checker's question, answered from the counts of defined names and what the
    // includes bring in: a set of every name beside them took 3 MB in a script of 80,000 labels.
    bool knowsLabel(const QString &upper) const override;
    void survey(std::vector<char> &dirty);
    void judgeDirty(std::vector<char> &dirty);
    void judge(std::size_t index, std::int32_t matchBefore);
    void judgeAll();

    DialectChoice m_choice;
    Dialect m_dialect = Dialect::Classic;
    QByteArray m_text;
    qsizetype m_textSize = 0;   // the last text's, while its bytes can no longer be read
    bool m_textKnown = true;    // false after edit(): the lines are no longer places in a text
    bool m_textReadable = true; // false after textChanging()
    std::pair<qsizetype, int> m_lineStartKnown; // a line start in m_text, and its line's index
    TextArena m_texts;
    qsizetype m_liveCharacters = 0; // UTF-16 units the arena holds for the lines
    std::vector<Line> m_lines;
    // What the passes over every line read, side by side with m_lines and kept in one piece.
    std::vector<ModernLineShape> m_shapes;
    std::vector<ModernLineFacts> m_facts;
    int m_modernLines = 0;
    int m_mistakes = 0;
    int m_lastJudged = 0;
    std::uint64_t m_labelsVersion = 0;
    std::uint64_t m_labelNamesVersion = 0;
    NameCounts m_definedCount;          // upper-cased name: how many lines define it
    QHash<QString, int> m_includeCount; // include line text: how many lines have it
    // What each include brought in when last looked at: the file, and its labels upper-cased.
    struct IncludeState
    {
        FoundInclude file;
        QSet<QString> labels;
        friend bool operator==(const IncludeState &, const IncludeState &) = default;
    };
    QHash<QString, IncludeState> m_includeStates;
    QList<IncludedLabel> includedBy(const QString &written);
    IncludeSearch m_search;
    std::unique_ptr<ScriptLibrary> m_ownLibrary;
    ScriptLibrary *m_library;
    std::unique_ptr<ScriptChecker> m_classic;
    ModernChecker m_modern;
};

} // namespace Korveth
