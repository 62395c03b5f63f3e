#include "ScriptModel.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"

#include <QStringEncoder>

#include <algorithm>
#include <thread>

namespace Korveth {

namespace {

// "goto", "gosub" or "match" anywhere in the line, letter case ignored: the lines whose verdict
// may name a label. Every line is asked, so this looks at the letters directly.
bool mentionsLabelCommand(QStringView line)
{
    auto lower = [&](qsizetype i) {
        return char16_t(line[i].unicode() | 0x20);
    };
    auto at = [&](qsizetype i, const char16_t *word) {
        for (qsizetype k = 0; word[k]; ++k) {
            if (i + k >= line.size() || lower(i + k) != word[k])
                return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char16_t c = lower(i);
        if ((c == u'g' && (at(i, u"goto") || at(i, u"gosub"))) || (c == u'm' && at(i, u"match")))
            return true;
    }
    return false;
}

} // namespace

ScriptModel::ScriptModel(DialectChoice choice, IncludeSearch search, ScriptLibrary *library)
    : m_choice(choice)
    , m_search(std::move(search))
    , m_ownLibrary(library ? nullptr : std::make_unique<ScriptLibrary>())
    , m_library(library ? library : m_ownLibrary.get())
    , m_classic(std::make_unique<ScriptChecker>())
{}

void ScriptModel::setDialectChoice(DialectChoice choice)
{
    if (choice == m_choice)
        return;
    m_choice = choice;
    if (!textReadable()) {
        m_rejudgeOwed = true;
        return;
    }
    judgeAll();
}

QString ScriptModel::definedLabelOf(const Line &line) const
{
    if (!line.definesLabel)
        return {};
    const LineText text = textOf(line);
    return upperCased(labelDefinedBy(trimmedView(text)));
}

QString ScriptModel::includeOf(const Line &line) const
{
    if (!line.includes)
        return {};
    const LineText text = textOf(line);
    return includeNamedBy(trimmedView(text)).toString();
}

ModernLineShape ScriptModel::describe(Line &line) const
{
    const LineText text = textOf(line);
    const QStringView trimmed = trimmedView(text);
    line.hasColon = trimmed.contains(u':');
    const auto [word, rest] = firstWordAndRest(trimmed);
    const ModernWordEntry *entry = modernWordOf(word);
    line.looksModern
        = entry && (entry->modernOnly || (entry->word == ModernWord::If && thenAt(text) >= 0));
    const auto command = commandWordOf(wordAt(trimmed, 0));
    line.labelDependent
        = (command && (*command == CommandWord::Goto || *command == CommandWord::Match))
          || mentionsLabelCommand(trimmed);
    // Most lines are plain commands: no label, include, block or comment to look for.
    if (ModernSurvey::isPlain(trimmed))
        return ModernLineShape();
    line.definesLabel = !labelDefinedBy(trimmed).isEmpty();
    line.includes = !includeNamedBy(trimmed).isEmpty();
    return ModernSurvey::shapeOf(
        trimmed, [this](QStringView written) { return m_library->find(m_search, written).state; });
}

void ScriptModel::describeAll(std::vector<Line> &lines, std::vector<ModernLineShape> &shapes) const
{
    auto describeFrom = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            shapes[i] = describe(lines[i]);
    };
    // A whole script just opened: each line stands alone, so two threads halve the wait.
    constexpr std::size_t manyLines = 100000;
    const std::size_t n = lines.size();
    if (n < manyLines) {
        describeFrom(0, n);
        return;
    }
    std::thread secondHalf(describeFrom, n / 2, n);
    describeFrom(0, n / 2);
    secondHalf.join();
}

namespace {

// Replaces count items from first with the new ones, moving what follows once.
template<typename T> void splice(std::vector<T> &items, int first, int count, std::vector<T> fresh)
{
    if (count == std::ptrdiff_t(items.size())) {
        items = std::move(fresh); // a whole text: nothing to move
        return;
    }
    const auto at = items.begin() + first;
    const auto common = std::min<std::ptrdiff_t>(count, std::ptrdiff_t(fresh.size()));
    std::move(fresh.begin(), fresh.begin() + common, at);
    if (std::ptrdiff_t(fresh.size()) > common)
        items.insert(at + common,
                     std::make_move_iterator(fresh.begin() + common),
                     std::make_move_iterator(fresh.end()));
    else
        items.erase(at + common, at + count);
}

} // namespace

bool ScriptModel::sameLabelNames(const std::vector<Line> &a, const std::vector<Line> &b) const
{
    // The next label's name as written, from line i on.
    auto next = [this](const std::vector<Line> &lines, std::size_t &i) -> std::optional<QString> {
        for (; i < lines.size(); ++i) {
            if (const auto at = labelDefinedOn(lines[i])) {
                const LineText text = textOf(lines[i++]);
                return text.view().sliced(at->column, at->length).toString();
            }
        }
        return std::nullopt;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        const std::optional<QString> x = next(a, i);
        if (x != next(b, j))
            return false;
        if (!x)
            return true;
    }
}

void ScriptModel::replaceLines(int first, int removedCount, std::vector<Line> fresh)
{
    const bool everyLineNew = removedCount == lineCount();
    const auto at = m_lines.begin() + first;
    // Taken out whole: what they defined and counted is undone below. Their texts stay in the
    // arena until compactTexts().
    const std::vector<Line> removed(at, at + removedCount);
    const auto added = int(fresh.size());
    auto shapes = perLine<ModernLineShape>(fresh.size(), everyLineNew);
    describeAll(fresh, shapes);
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        const Line &line = fresh[i];
        m_modernLines += line.looksModern;
        m_liveCharacters += m_texts.unitsHeld(line.text);
    }
    const auto definesLabel = [](const Line &line) {
        return line.definesLabel;
    };
    const bool labelLines = std::any_of(removed.begin(), removed.end(), definesLabel)
                            || std::any_of(fresh.begin(), fresh.end(), definesLabel);
    m_labelNamesVersion += labelLines && (everyLineNew || !sameLabelNames(removed, fresh));
    m_labelsVersion += labelLines || removedCount != added;
    splice(m_lines, first, removedCount, std::move(fresh));
    // The facts follow from the shapes alone: typing within a line seldom changes its shape, and
    // then the survey of every line is not needed.
    const bool sameShapes = removedCount == added
                            && std::equal(shapes.begin(), shapes.end(), m_shapes.begin() + first);
    splice(m_shapes, first, removedCount, std::move(shapes));
    if (!sameShapes)
        splice(m_facts,
               first,
               removedCount,
               perLine<ModernLineFacts>(std::size_t(added), everyLineNew));
    for (const Line &line : removed) {
        m_modernLines -= line.looksModern;
        m_liveCharacters -= m_texts.unitsHeld(line.text);
        m_mistakes -= line.mistakes();
    }
    if (everyLineNew) {
        // Nothing to compare with: counted and judged once, from the start.
        compactTexts();
        judgeAll();
        return;
    }

    const Dialect dialect = m_choice == DialectChoice::Modern
                                    || (m_choice == DialectChoice::Auto && m_modernLines > 0)
                                ? Dialect::Modern
                                : Dialect::Classic;
    const LabelChange labels = labelsChanged(removed, first, added);
    compactTexts();
    if (dialect != m_dialect) {
        m_dialect = dialect;
        judgeAll();
        return;
    }
    std::vector<char> dirty(m_lines.size(), 0);
    for (int i = first; i < first + added; ++i)
        dirty[std::size_t(i)] = 1;
    // The line after the change may now follow another match count.
    if (std::size_t(first + added) < dirty.size())
        dirty[std::size_t(first + added)] = 1;
    if (labels.everything || !labels.names.isEmpty()) {
        rebuildLabels();
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const Line &line = m_lines[i];
            if (line.labelDependent && (labels.everything || mayName(line, labels.names)))
                dirty[i] = 1;
        }
    }
    if (!sameShapes)
        survey(dirty);
    judgeDirty(dirty);
}

// Keeps the counts of defined names and include lines; true when the labels a run would know
// changed (in the classic dialect, when a colon came or went anywhere).
ScriptModel::LabelChange
ScriptModel::labelsChanged(const std::vector<Line> &removed, int first, int inserted)
{
    LabelChange change;
    // Counted before and after the whole edit: a label line the edit took out and put back as it
    // was (the line beside a key typed) changes nothing.
    QHash<QString, int> definedBefore;
    QHash<QString, int> includedBefore;
    std::vector<std::uint64_t> namesGone;
    std::vector<std::uint64_t> namesCame;
    auto count = [&](const Line &line, int delta) {
        change.everything |= m_dialect == Dialect::Classic && line.hasColon;
        if (line.definesLabel) {
            const QString name = definedLabelOf(line);
            if (!definedBefore.contains(name))
                definedBefore.insert(name, m_definedCount.value(name));
            (delta < 0 ? namesGone : namesCame).push_back(NameCounts::key(name));
        }
        if (line.includes) {
            const QString include = includeOf(line);
            int &n = m_includeCount[include];
            if (!includedBefore.contains(include))
                includedBefore.insert(include, n);
            n += delta;
        }
    };
    for (const Line &line : removed)
        count(line, -1);
    for (int i = first; i < first + inserted; ++i)
        count(m_lines[std::size_t(i)], +1);
    m_definedCount.change(namesGone, namesCame);
    for (auto it = definedBefore.cbegin(); it != definedBefore.cend(); ++it) {
        if ((it.value() == 0) != (m_definedCount.value(it.key()) == 0))
            change.names.insert(it.key());
    }
    for (auto it = includedBefore.cbegin(); it != includedBefore.cend(); ++it) {
        const int now = m_includeCount.value(it.key());
        if ((it.value() == 0) != (now == 0)) {
            for (const IncludedLabel &included : includedBy(it.key()))
                change.names.insert(upperCased(included.name));
        }
        if (now == 0) {
            m_includeCount.remove(it.key());
            m_includeStates.remove(it.key());
        }
    }
    return change;
}

void ScriptModel::compactTexts()
{
    // Amortised: a compaction costs the live text once, after at least as much was added.
    if (m_texts.held() <= 2 * m_liveCharacters + 1024 * 1024)
        return;
    m_texts.compact([this](auto rewrite) {
        for (Line &line : m_lines)
            rewrite(line.text);
    });
}

// Whether a line's verdict may change when the given labels appear or vanish: it names one of
// them, or splits commands at semicolons (an action's), where its targets are not plain words.
bool ScriptModel::mayName(const Line &source, const QSet<QString> &names) const
{
    const LineText line = textOf(source);
    const QStringView text = line;
    if (text.contains(u';'))
        return true;
    for (const LabelReference &reference : labelReferences(text)) {
        if (names.contains(upperCased(text.sliced(reference.column, reference.length))))
            return true;
    }
    return false;
}

void ScriptModel::rebuildLabels()
{
    if (m_dialect == Dialect::Classic) {
        // The classic rule looks for NAME: anywhere in the text. NAME holds no line break, so
        // only the lines with a colon can hold it: joined alone, they are a fifth of a long
        // script's text, where the whole text was a second copy of it. Encoded line by line: the
        // whole text joined as UTF-16 first took twice the UTF-8 again.
        m_classic.reset(); // a long script's old table goes before the new one is made
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        qsizetype most = 0;
        for (const Line &line : m_lines)
            most += line.hasColon ? encoder.requiredSpace(m_texts.extent(line.text)) + 1 : 0;
        QByteArray joined(most, Qt::Uninitialized);
        char *end = joined.data();
        for (const Line &line : m_lines) {
            if (!line.hasColon)
                continue;
            const LineText text = textOf(line);
            end = encoder.appendToBuffer(end, text);
            *end++ = '\n';
        }
        joined.truncate(end - joined.data());
        m_classic = std::make_unique<ScriptChecker>(std::move(joined));
        return;
    }
    for (auto it = m_includeCount.cbegin(); it != m_includeCount.cend(); ++it) {
        IncludeState state;
        for (const IncludedLabel &included : includedBy(it.key()))
            state.labels.insert(upperCased(included.name));
        state.file = m_library->find(m_search, it.key());
        m_includeStates.insert(it.key(), std::move(state));
    }
}

// The facts of every line as the modern dialect works them out; a line whose facts changed is
// judged again.
void ScriptModel::survey(std::vector<char> &dirty)
{
    if (m_dialect != Dialect::Modern)
        return;
    ModernSurvey survey;
    survey.reserve(m_shapes.size());
    for (const ModernLineShape &shape : m_shapes)
        survey.addShape(shape);
    const std::vector<ModernLineFacts> facts = survey.finish();
    for (std::size_t i = 0; i < facts.size(); ++i) {
        if (m_facts[i] != facts[i]) {
            m_facts[i] = facts[i];
            dirty[i] = 1;
        }
    }
}

void ScriptModel::judge(std::size_t index, std::int32_t matchBefore)
{
    Line &line = m_lines[index];
    m_mistakes -= line.mistakes();
    LineChecker &checker
        = m_dialect == Dialect::Classic ? static_cast<LineChecker &>(*m_classic) : m_modern;
    checker.MatchCount = matchBefore;
    const LineText text = textOf(line);
    const LineVerdicts verdicts = m_dialect == Dialect::Classic
                                      ? m_classic->judge(text)
                                      : m_modern.judgeWithFacts(text, m_facts[index]);
    line.firstKind = Line::kindOf(verdicts.first);
    line.secondKind = Line::kindOf(verdicts.second);
    line.matchesBefore = std::uint32_t(std::clamp(matchBefore, -1, mostMatches) + 1);
    line.matchesAfter = std::uint32_t(std::clamp(checker.MatchCount, -1, mostMatches) + 1);
    m_mistakes += verdicts.errorCount();
    ++m_lastJudged;
}

// Judges the marked lines in order, and past them any line whose match count changed.
void ScriptModel::judgeDirty(std::vector<char> &dirty)
{
    m_modern.setLabels(this); // told here, not once: a model may have moved since
    m_lastJudged = 0;
    const std::size_t n = m_lines.size();
    std::size_t i = 0;
    while (i < n) {
        if (!dirty[i]) {
            ++i;
            continue;
        }
        // A run of lines to judge: it goes on while the count a line hands on has changed.
        for (; i < n; ++i) {
            const std::int32_t before = i == 0 ? 0 : m_lines[i - 1].matchAfter();
            Line &line = m_lines[i];
            if (!dirty[i] && line.matchBefore() == before)
                break;
            const std::int32_t oldAfter = line.matchAfter();
            judge(i, before);
            if (!dirty[i] && line.matchAfter() == oldAfter) {
                ++i;
                break;
            }
        }
    }
}

void ScriptModel::judgeAll()
{
    m_definedCount.clear();
    m_includeCount.clear();
    m_includeStates.clear();
    m_modernLines = 0;
    // Sized once: a table that grows holds its old block and its new one at once.
    std::vector<std::uint64_t> names;
    names.reserve(std::size_t(labelLineCount()));
    for (const Line &line : m_lines) {
        m_modernLines += line.looksModern;
        if (line.definesLabel)
            names.push_back(NameCounts::key(definedLabelOf(line)));
        if (line.includes)
            ++m_includeCount[includeOf(line)];
    }
    m_definedCount.assign(std::move(names));
    m_dialect = m_choice == DialectChoice::Modern
                        || (m_choice == DialectChoice::Auto && m_modernLines > 0)
                    ? Dialect::Modern
                    : Dialect::Classic;
    rebuildLabels();
    std::vector<char> dirty(m_lines.size(), 1);
    survey(dirty);
    judgeDirty(dirty);
}

std::pair<std::optional<Verdict>, std::optional<Verdict>> ScriptModel::verdicts(int line) const
{
    const Line &l = m_lines[std::size_t(line)];
    return {l.first(), l.second()};
}

} // namespace Korveth
