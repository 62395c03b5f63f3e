#include "ScriptModel.h"

#include "ModernWords.h"
#include "ScriptLanguage.h"
#include "TextLines.h"

#include <cstring>

namespace Korveth {

namespace {

bool endsLine(QByteArrayView text, qsizetype at)
{
    // A break ends just before at: LF, or a CR that no LF follows.
    const char c = text[at - 1];
    return c == '\n' || (c == '\r' && (at == text.size() || text[at] != '\n'));
}

// The start of the line that holds the byte at, and that line's index.
std::pair<qsizetype, int> lineHolding(QByteArrayView text, qsizetype at)
{
    qsizetype start = 0;
    int index = 0;
    for (qsizetype i = 0; i <= at;) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        const qsizetype next
            = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? i + 2 : i + 1;
        if (at < next)
            break;
        start = next;
        ++index;
        i = next;
    }
    return {start, index};
}

// The lines of a piece of text; a piece that ends with a break has no empty line after it.
QList<QByteArrayView> linesOf(QByteArrayView piece, bool endsWithBreak)
{
    QList<QByteArrayView> lines;
    forEachEditorLine(piece, [&](QByteArrayView line, QByteArrayView) { lines.append(line); });
    if (endsWithBreak && !lines.isEmpty())
        lines.removeLast();
    return lines;
}

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

// The length of the common start of two texts, eight bytes at a time.
qsizetype commonPrefix(QByteArrayView a, QByteArrayView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i + 8 <= n && std::memcmp(a.data() + i, b.data() + i, 8) == 0)
        i += 8;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// The length of the common ending of two texts, at most limit bytes.
qsizetype commonSuffix(QByteArrayView a, QByteArrayView b, qsizetype limit)
{
    qsizetype i = 0;
    while (i + 8 <= limit
           && std::memcmp(a.data() + a.size() - i - 8, b.data() + b.size() - i - 8, 8) == 0)
        i += 8;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
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
    judgeAll();
}

void ScriptModel::describe(Line &line)
{
    const QStringView trimmed = trimmedView(line.text);
    line.hasColon = trimmed.contains(u':');
    const auto [word, rest] = firstWordAndRest(trimmed);
    const ModernWordEntry *entry = modernWordOf(word);
    line.looksModern
        = entry && (entry->modernOnly || (entry->word == ModernWord::If && thenAt(line.text) >= 0));
    line.definedLabel = upperCased(labelDefinedBy(trimmed));
    line.include = entry && entry->word == ModernWord::Include ? rest.toString()
                                                               : requiredPart(trimmed).toString();
    const auto command = commandWordOf(wordAt(trimmed, 0));
    line.labelDependent
        = (command && (*command == CommandWord::Goto || *command == CommandWord::Match))
          || mentionsLabelCommand(trimmed);
    line.shape = ModernSurvey::shapeOf(trimmed, [this](QStringView written) {
        return !m_library->resolve(m_search, written).isEmpty();
    });
}

void ScriptModel::edit(int first, int removed, QList<QString> inserted)
{
    first = qBound(0, first, lineCount());
    removed = qBound(0, removed, lineCount() - first);
    m_text.clear();
    m_textKnown = false;
    replaceLines(first, removed, std::move(inserted));
}

void ScriptModel::update(QByteArrayView now)
{
    if (!m_textKnown) {
        // Nothing to compare with: every line anew.
        QList<QString> texts;
        LineDecoder decoder;
        for (QByteArrayView line : linesOf(now, false))
            texts.append(decoder.decode(line).toString());
        m_text = now.toByteArray();
        m_textKnown = true;
        replaceLines(0, lineCount(), std::move(texts));
        return;
    }
    const QByteArrayView old = m_text;
    if (old == now && (!m_lines.empty() || now.isEmpty()))
        return;
    const qsizetype prefix = commonPrefix(old, now);
    const qsizetype suffix = commonSuffix(old, now, qMin(old.size(), now.size()) - prefix);

    // From the start of the line that holds the last common byte: a CR there may pair with
    // what follows.
    const auto [start, firstLine]
        = prefix > 0 ? lineHolding(old, prefix - 1) : std::pair<qsizetype, int>{0, 0};
    // To a line start in both texts within the common ending, or to the end.
    qsizetype oldEnd = old.size();
    qsizetype nowEnd = now.size();
    for (qsizetype k = 1; k <= suffix; ++k) {
        const qsizetype at = old.size() - suffix + k;
        if (at < old.size() && endsLine(old, at)) {
            oldEnd = at;
            nowEnd = now.size() - suffix + k;
            break;
        }
    }
    const bool cutAtBreak = oldEnd < old.size();
    const QList<QByteArrayView> removed = linesOf(old.sliced(start, oldEnd - start), cutAtBreak);
    const QList<QByteArrayView> added = linesOf(now.sliced(start, nowEnd - start), cutAtBreak);

    QList<QString> texts;
    texts.reserve(added.size());
    LineDecoder decoder;
    for (QByteArrayView line : added)
        texts.append(decoder.decode(line).toString());
    QByteArray text = now.toByteArray();
    replaceLines(firstLine, int(removed.size()), std::move(texts));
    m_text = std::move(text);
}

namespace {

// Replaces count items from first with the new ones, moving what follows once.
template<typename T> void splice(std::vector<T> &items, int first, int count, std::vector<T> fresh)
{
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

void ScriptModel::replaceLines(int first, int removedCount, QList<QString> inserted)
{
    const auto at = m_lines.begin() + first;
    // Taken out whole: what they defined and counted is undone below.
    std::vector<std::unique_ptr<Line>> removed(std::make_move_iterator(at),
                                               std::make_move_iterator(at + removedCount));
    const auto added = int(inserted.size());
    std::vector<std::unique_ptr<Line>> fresh;
    std::vector<ModernLineShape> shapes;
    std::vector<char> dependent;
    for (QString &text : inserted) {
        auto line = std::make_unique<Line>();
        line->text = std::move(text);
        describe(*line);
        shapes.push_back(line->shape);
        dependent.push_back(line->labelDependent);
        m_modernLines += line->looksModern;
        fresh.push_back(std::move(line));
    }
    splice(m_lines, first, removedCount, std::move(fresh));
    splice(m_shapes, first, removedCount, std::move(shapes));
    splice(m_dependent, first, removedCount, std::move(dependent));
    splice(m_facts, first, removedCount, std::vector<ModernLineFacts>(std::size_t(added)));
    for (const auto &line : removed) {
        m_modernLines -= line->looksModern;
        m_mistakes
            -= (line->first && line->first->error()) + (line->second && line->second->error());
    }

    const Dialect dialect = m_choice == DialectChoice::Modern
                                    || (m_choice == DialectChoice::Auto && m_modernLines > 0)
                                ? Dialect::Modern
                                : Dialect::Classic;
    const LabelChange labels = labelsChanged(removed, first, added);
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
            if (m_dependent[i] && (labels.everything || mayName(*m_lines[i], labels.names)))
                dirty[i] = 1;
        }
    }
    survey(dirty);
    judgeDirty(dirty);
}

// Keeps the counts of defined names and include lines; true when the labels a run would know
// changed (in the classic dialect, when a colon came or went anywhere).
ScriptModel::LabelChange ScriptModel::labelsChanged(
    const std::vector<std::unique_ptr<Line>> &removed, int first, int inserted)
{
    LabelChange change;
    auto count = [&](const Line &line, int delta) {
        change.everything |= m_dialect == Dialect::Classic && line.hasColon;
        if (!line.definedLabel.isEmpty()) {
            int &n = m_definedCount[line.definedLabel];
            if ((n == 0) != (n + delta == 0))
                change.names.insert(line.definedLabel);
            n += delta;
            if (n == 0)
                m_definedCount.remove(line.definedLabel);
        }
        if (!line.include.isEmpty()) {
            int &n = m_includeCount[line.include];
            if ((n == 0) != (n + delta == 0)) {
                for (const IncludedLabel &included : includedBy(line.include))
                    change.names.insert(upperCased(included.name));
            }
            n += delta;
            if (n == 0) {
                m_includeCount.remove(line.include);
                m_includeStates.remove(line.include);
            }
        }
    };
    for (const auto &line : removed)
        count(*line, -1);
    for (int i = first; i < first + inserted; ++i)
        count(*m_lines[std::size_t(i)], +1);
    return change;
}

// Whether a line's verdict may change when the given labels appear or vanish: it names one of
// them, or splits commands at semicolons (an action's), where its targets are not plain words.
bool ScriptModel::mayName(const Line &line, const QSet<QString> &names)
{
    if (line.text.contains(u';'))
        return true;
    for (const LabelReference &reference : labelReferences(line.text)) {
        if (names.contains(
                upperCased(QStringView(line.text).sliced(reference.column, reference.length))))
            return true;
    }
    return false;
}

void ScriptModel::rebuildLabels()
{
    if (m_dialect == Dialect::Classic) {
        // The classic rule looks for NAME: anywhere in the text.
        QString joined;
        for (const auto &line : m_lines) {
            joined += line->text;
            joined += u'\n';
        }
        m_classic = std::make_unique<ScriptChecker>(joined.toUtf8());
        return;
    }
    LabelSet labels;
    for (auto it = m_definedCount.cbegin(); it != m_definedCount.cend(); ++it)
        labels.add(it.key());
    for (auto it = m_includeCount.cbegin(); it != m_includeCount.cend(); ++it) {
        IncludeState state;
        for (const IncludedLabel &included : includedBy(it.key())) {
            labels.add(included.name);
            state.labels.insert(upperCased(included.name));
        }
        state.path = m_library->resolve(m_search, it.key());
        m_includeStates.insert(it.key(), std::move(state));
    }
    m_modern.setLabels(std::move(labels));
}

// The facts of every line as the modern dialect works them out; a line whose facts changed is
// judged again.
void ScriptModel::survey(std::vector<char> &dirty)
{
    if (m_dialect != Dialect::Modern)
        return;
    ModernSurvey survey;
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
    Line &line = *m_lines[index];
    m_mistakes -= (line.first && line.first->error()) + (line.second && line.second->error());
    LineChecker &checker
        = m_dialect == Dialect::Classic ? static_cast<LineChecker &>(*m_classic) : m_modern;
    checker.MatchCount = matchBefore;
    const LineVerdicts verdicts = m_dialect == Dialect::Classic
                                      ? m_classic->judge(line.text)
                                      : m_modern.judgeWithFacts(line.text, m_facts[index]);
    line.first = verdicts.first;
    line.second = verdicts.second;
    line.matchBefore = matchBefore;
    line.matchAfter = checker.MatchCount;
    m_mistakes += verdicts.errorCount();
    ++m_lastJudged;
}

// Judges the marked lines in order, and past them any line whose match count changed.
void ScriptModel::judgeDirty(std::vector<char> &dirty)
{
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
            const std::int32_t before = i == 0 ? 0 : m_lines[i - 1]->matchAfter;
            Line &line = *m_lines[i];
            if (!dirty[i] && line.matchBefore == before)
                break;
            const std::int32_t oldAfter = line.matchAfter;
            judge(i, before);
            if (!dirty[i] && line.matchAfter == oldAfter) {
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
    m_modernLines = 0;
    for (const auto &line : m_lines) {
        m_modernLines += line->looksModern;
        if (!line->definedLabel.isEmpty())
            ++m_definedCount[line->definedLabel];
        if (!line->include.isEmpty())
            ++m_includeCount[line->include];
    }
    m_dialect = m_choice == DialectChoice::Modern
                        || (m_choice == DialectChoice::Auto && m_modernLines > 0)
                    ? Dialect::Modern
                    : Dialect::Classic;
    rebuildLabels();
    std::vector<char> dirty(m_lines.size(), 1);
    survey(dirty);
    judgeDirty(dirty);
}

LineVerdicts ScriptModel::verdicts(int line) const
{
    const Line &l = *m_lines[std::size_t(line)];
    return {trimmedView(l.text), l.first, l.second};
}

} // namespace Korveth
