// How a model is told what changed: the whole text again, compared with the last one, or the
// lines replaced.
#include "ScriptModel.h"

#include "ScriptLanguage.h"
#include "SystemMemory.h"
#include "TextLines.h"

#include <cstring>
#include <tuple>

namespace Korveth {

namespace {

bool endsLine(QByteArrayView text, qsizetype at)
{
    // A break ends just before at: LF, or a CR that no LF follows.
    const char c = text[at - 1];
    return c == '\n' || (c == '\r' && (at == text.size() || text[at] != '\n'));
}

// The start of the line that holds the byte at, and that line's index; counted on from a line
// start known before it.
std::pair<qsizetype, int>
lineHolding(QByteArrayView text, qsizetype at, std::pair<qsizetype, int> known)
{
    auto [start, index] = known.first <= at ? known : std::pair<qsizetype, int>{0, 0};
    for (qsizetype i = start; i <= at;) {
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

void ScriptModel::edit(int first, int removed, QList<QString> inserted)
{
    first = qBound(0, first, lineCount());
    removed = qBound(0, removed, lineCount() - first);
    m_text = QByteArray();
    m_textKnown = false;
    m_lineStartKnown = {};
    std::vector<Line> lines(std::size_t(inserted.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].text = m_texts.append(inserted[qsizetype(i)]);
    replaceLines(first, removed, std::move(lines));
}

void ScriptModel::editText(int first, int removed, const QString &text)
{
    first = qBound(0, first, lineCount());
    removed = qBound(0, removed, lineCount() - first);
    m_text = QByteArray();
    m_textKnown = false;
    m_lineStartKnown = {};
    const bool kept = m_texts.adopt(text);
    const qsizetype offset = kept ? 0 : m_texts.append(text).start;
    std::vector<Line> lines;
    lines.reserve(withRoom(std::size_t(text.count(u'\n') + text.count(u'\r') + 1)));
    preferHugePages(lines.data(), lines.capacity() * sizeof(Line));
    auto add = [&](qsizetype start) {
        lines.emplace_back().text
            = kept ? m_texts.inWhole(start)
                   : TextArena::Span::at(offset + start, TextArena::Store::Added);
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        add(start);
        i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        start = i + 1;
    }
    add(start);
    replaceLines(first, removed, std::move(lines));
}

bool ScriptModel::update(QByteArray utf8)
{
    const QByteArrayView now = utf8;
    if (!m_textKnown || !m_textReadable || m_lines.empty()) {
        // Nothing to compare with: every line anew.
        std::vector<Line> lines;
        lines.reserve(withRoom(std::size_t(now.count('\n') + 1)));
        forEachEditorLine(now, [&](QByteArrayView line, QByteArrayView) {
            lines.emplace_back().text = m_texts.inBytes(line.data() - now.data());
        });
        // The lines replaced are not read again: every line is new.
        holdText(std::move(utf8));
        m_textKnown = true;
        m_lineStartKnown = {};
        m_rejudgeOwed = false; // every line is judged anew
        replaceLines(0, lineCount(), std::move(lines));
        return true;
    }
    const QByteArrayView old = m_text;
    if (old == now) {
        holdText(std::move(utf8)); // the same bytes, where they stand now
        return false;
    }
    const qsizetype prefix = commonPrefix(old, now);
    const qsizetype suffix = commonSuffix(old, now, qMin(old.size(), now.size()) - prefix);
    const QByteArray removed = old.sliced(prefix, old.size() - prefix - suffix).toByteArray();
    takeChange(std::move(utf8), prefix, removed);
    return true;
}

bool ScriptModel::replaceBytes(QByteArray utf8, qsizetype from, QByteArrayView before)
{
    const qsizetype suffix = m_textSize - from - before.size();
    if (!m_textKnown || from < 0 || suffix < 0 || utf8.size() < from + suffix)
        return false;
    if (m_lines.empty()) // an empty text: the new one is all of it
        return m_textSize == 0 ? (update(std::move(utf8)), true) : false;
    if (before.isEmpty() && utf8.size() == m_textSize)
        holdText(std::move(utf8));
    else
        takeChange(std::move(utf8), from, before);
    // A dialect or a search told while the lines could not be read.
    if (std::exchange(m_rejudgeOwed, false))
        rejudgeAll();
    return true;
}

void ScriptModel::textChanging()
{
    m_text = QByteArray();
    m_texts.setBytes({}, {});
    m_textReadable = false;
}

void ScriptModel::holdText(QByteArray utf8)
{
    m_text = std::move(utf8);
    m_textSize = m_text.size();
    m_textReadable = true;
    m_texts.setBytes(m_text, {});
}

void ScriptModel::takeChange(QByteArray utf8, qsizetype from, QByteArrayView removed)
{
    const QByteArrayView now = utf8;
    const qsizetype suffix = m_textSize - from - removed.size();
    const ChangedLines changed = changedLines(now, from, suffix);
    // The changed lines as they were: the bytes around the change are the same in both texts.
    QByteArray before;
    before.reserve(changed.oldEnd - changed.start);
    before += now.sliced(changed.start, from - changed.start);
    before += removed;
    const qsizetype unchangedFrom = now.size() - suffix;
    before += now.sliced(unchangedFrom, changed.nowEnd - unchangedFrom);
    holdText(std::move(utf8));
    takeChangedLines(changed, std::move(before));
}

ScriptModel::ChangedLines
ScriptModel::changedLines(QByteArrayView now, qsizetype prefix, qsizetype suffix) const
{
    ChangedLines changed;
    // From the start of the line that holds the last common byte: a CR there may pair with
    // what follows.
    if (prefix > 0)
        std::tie(changed.start, changed.firstLine) = lineHolding(now, prefix - 1, m_lineStartKnown);
    // To a line start in both texts within the common ending, or to the end.
    changed.oldEnd = m_textSize;
    changed.nowEnd = now.size();
    for (qsizetype k = 1; k <= suffix; ++k) {
        const qsizetype at = now.size() - suffix + k;
        if (at < now.size() && endsLine(now, at)) {
            changed.oldEnd = m_textSize - suffix + k;
            changed.nowEnd = at;
            changed.cutAtBreak = true;
            break;
        }
    }
    return changed;
}

void ScriptModel::takeChangedLines(const ChangedLines &changed, QByteArray before)
{
    const QByteArrayView now = m_text;
    const auto removed = int(linesOf(before, changed.cutAtBreak).size());
    const QList<QByteArrayView> added
        = linesOf(now.sliced(changed.start, changed.nowEnd - changed.start), changed.cutAtBreak);

    std::vector<Line> lines(std::size_t(added.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].text = m_texts.inBytes(added[qsizetype(i)].data() - now.data());
    // The lines above stand where they stood in the new text; those below moved with the change.
    const int after = changed.firstLine + removed;
    readingAnew(changed.firstLine, after, changed.start);
    const qsizetype moved = changed.nowEnd - changed.oldEnd;
    for (auto line = m_lines.begin() + after; line != m_lines.end(); ++line) {
        if (line->text.store == TextArena::Store::Bytes)
            line->text.start = std::uint32_t(qsizetype(line->text.start) + moved);
    }
    m_texts.setBytes(m_text, std::move(before));
    replaceLines(changed.firstLine, removed, std::move(lines));
    m_texts.dropBytesBefore();
    // Before the change, both texts are the same: typing on further down counts the lines from
    // here, not from the top of a long script.
    m_lineStartKnown = {changed.start, changed.firstLine};
}

void ScriptModel::readingAnew(int first, int end, qsizetype start)
{
    // The lines about to be replaced are read from the part of the text before that holds them,
    // from start on, until they are gone.
    for (auto line = m_lines.begin() + first; line != m_lines.begin() + end; ++line) {
        if (line->text.store == TextArena::Store::Bytes) {
            line->text.store = TextArena::Store::BytesBefore;
            line->text.start = std::uint32_t(qsizetype(line->text.start) - start);
        }
    }
}

} // namespace Korveth
