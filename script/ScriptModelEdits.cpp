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
    m_text.set({});
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
    m_text.set({});
    m_textKnown = false;
    m_lineStartKnown = {};
    const bool kept = m_texts.adopt(text);
    const qsizetype offset = kept ? 0 : m_texts.append(text).start;
    std::vector<Line> lines;
    lines.reserve(withRoom(std::size_t(text.count(u'\n') + text.count(u'\r') + 1)));
    preferHugePages(lines.data(), lines.capacity() * sizeof(Line));
    auto add = [&](qsizetype start, qsizetype end) {
        Line &line = lines.emplace_back();
        line.text = kept
                        ? m_texts.inWhole(start, end - start)
                        : TextArena::Span::at(offset + start, end - start, TextArena::Store::Added);
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        add(start, i);
        i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        start = i + 1;
    }
    add(start, text.size());
    replaceLines(first, removed, std::move(lines));
}

bool ScriptModel::update(QByteArray utf8)
{
    const QByteArrayView now = utf8;
    if (!m_textKnown || m_lines.empty()) {
        // Nothing to compare with: every line anew.
        std::vector<Line> lines;
        lines.reserve(withRoom(std::size_t(now.count('\n') + 1)));
        forEachEditorLine(now, [&](QByteArrayView line, QByteArrayView) {
            lines.emplace_back().text = m_texts.inBytes(line.data() - now.data(), line.size());
        });
        // The lines replaced are not read again: every line is new.
        m_text.set(std::move(utf8));
        m_texts.setBytes(m_text.array(), {});
        m_textKnown = true;
        m_lineStartKnown = {};
        replaceLines(0, lineCount(), std::move(lines));
        return true;
    }
    const QByteArrayView old = m_text.bytes();
    if (old == now)
        return false;
    const qsizetype prefix = commonPrefix(old, now);
    const qsizetype suffix = commonSuffix(old, now, qMin(old.size(), now.size()) - prefix);
    const ChangedLines changed = changedLines(prefix, suffix, now.size());
    QByteArray before = old.sliced(changed.start, changed.oldEnd - changed.start).toByteArray();
    m_text.set(std::move(utf8));
    takeChangedLines(changed, std::move(before));
    return true;
}

bool ScriptModel::replaceBytes(qsizetype from, qsizetype removed, QByteArrayView inserted)
{
    const qsizetype size = m_text.bytes().size();
    if (!m_textKnown || from < 0 || removed < 0 || from > size - removed)
        return false;
    if (m_lines.empty()) // an empty text: the inserted bytes are all of it
        return size == 0 ? (update(inserted.toByteArray()), true) : false;
    if (removed == 0 && inserted.isEmpty())
        return true;
    const ChangedLines changed
        = changedLines(from, size - from - removed, size - removed + inserted.size());
    QByteArray before
        = m_text.bytes().sliced(changed.start, changed.oldEnd - changed.start).toByteArray();
    // Held by nothing else now, the text changes where it lies: no second copy of a long script.
    m_texts.setBytes({}, {});
    m_text.replace(from, removed, inserted);
    takeChangedLines(changed, std::move(before));
    return true;
}

ScriptModel::ChangedLines
ScriptModel::changedLines(qsizetype prefix, qsizetype suffix, qsizetype nowSize) const
{
    const QByteArrayView old = m_text.bytes();
    ChangedLines changed;
    // From the start of the line that holds the last common byte: a CR there may pair with
    // what follows.
    if (prefix > 0)
        std::tie(changed.start, changed.firstLine) = lineHolding(old, prefix - 1, m_lineStartKnown);
    // To a line start in both texts within the common ending, or to the end.
    changed.oldEnd = old.size();
    changed.nowEnd = nowSize;
    for (qsizetype k = 1; k <= suffix; ++k) {
        const qsizetype at = old.size() - suffix + k;
        if (at < old.size() && endsLine(old, at)) {
            changed.oldEnd = at;
            changed.nowEnd = nowSize - suffix + k;
            changed.cutAtBreak = true;
            break;
        }
    }
    return changed;
}

void ScriptModel::takeChangedLines(const ChangedLines &changed, QByteArray before)
{
    const QByteArrayView now = m_text.bytes();
    const auto removed = int(linesOf(before, changed.cutAtBreak).size());
    const QList<QByteArrayView> added
        = linesOf(now.sliced(changed.start, changed.nowEnd - changed.start), changed.cutAtBreak);

    std::vector<Line> lines(std::size_t(added.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i].text
            = m_texts.inBytes(added[qsizetype(i)].data() - now.data(), added[qsizetype(i)].size());
    // The lines above stand where they stood in the new text; those below moved with the change.
    const int after = changed.firstLine + removed;
    readingAnew(changed.firstLine, after, changed.start);
    const qsizetype moved = changed.nowEnd - changed.oldEnd;
    for (auto line = m_lines.begin() + after; line != m_lines.end(); ++line) {
        if (line->text.store == TextArena::Store::Bytes)
            line->text.start = std::uint32_t(qsizetype(line->text.start) + moved);
    }
    m_texts.setBytes(m_text.array(), std::move(before));
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
