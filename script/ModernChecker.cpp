#include "ModernChecker.h"

#include "Includes.h"
#include "ModernWords.h"
#include "ScriptLanguage.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace Korveth {

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

// The first word, cut at a blank or tab, and what follows it, trimmed.
std::pair<QStringView, QStringView> firstWordAndRest(QStringView line)
{
    if (line.startsWith(QChar(0xFEFF))) // a byte-order mark left inside the text
        line = line.sliced(1);
    qsizetype end = 0;
    while (end < line.size() && !isSpace(line[end]))
        ++end;
    return {line.first(end), trimmedView(line.sliced(end))};
}

// "then" standing as a word: the command after it, or an empty view when nothing follows.
qsizetype thenAt(QStringView line)
{
    for (qsizetype at = line.indexOf(u"then", 0, Qt::CaseInsensitive); at >= 0;
         at = line.indexOf(u"then", at + 1, Qt::CaseInsensitive)) {
        const bool startsWord = at == 0 || isSpace(line[at - 1]) || line[at - 1] == u')';
        const bool endsWord
            = at + 4 == line.size() || isSpace(line[at + 4]) || line[at + 4] == u'{';
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

// A block starts with a "{" of its own, or one closing an if, elseif or else line (after a "}"
// too); a brace at the end of other text, an echo's say, is text.
bool opensBlock(QStringView line)
{
    if (!line.endsWith(u'{'))
        return false;
    if (line == u"{" || line.startsWith(u'}'))
        return true;
    const ModernWordEntry *word = modernWordOf(firstWordAndRest(line).first);
    return word
           && (word->word == ModernWord::If || word->word == ModernWord::Elseif
               || word->word == ModernWord::Else);
}

// The name a label line "NAME:" defines; empty for any other line.
QStringView labelOf(QStringView line)
{
    if (line.size() < 2 || !line.endsWith(u':'))
        return {};
    const QStringView name = line.first(line.size() - 1);
    if (std::any_of(name.begin(), name.end(), isSpace))
        return {};
    return name;
}

} // namespace

bool looksModern(QByteArrayView scriptUtf8)
{
    bool modern = false;
    LineDecoder decoder;
    forEachCrLfLine(scriptUtf8, [&](QByteArrayView bytes) {
        if (modern)
            return;
        const QStringView line = decoder.decode(bytes);
        const ModernWordEntry *word = modernWordOf(firstWordAndRest(trimmedView(line)).first);
        modern = word && (word->modernOnly || (word->word == ModernWord::If && thenAt(line) >= 0));
    });
    return modern;
}

std::unique_ptr<LineChecker> makeChecker(const QByteArray &scriptUtf8,
                                         DialectChoice choice,
                                         const QString &folder,
                                         Dialect *chosen)
{
    const bool modern = choice == DialectChoice::Modern
                        || (choice == DialectChoice::Auto && looksModern(scriptUtf8));
    if (chosen)
        *chosen = modern ? Dialect::Modern : Dialect::Classic;
    if (modern)
        return std::make_unique<ModernChecker>(QByteArrayView(scriptUtf8), folder);
    return std::make_unique<ScriptChecker>(scriptUtf8);
}

ModernChecker::ModernChecker(QStringView scriptText, const QString &folder)
    : ModernChecker(QByteArrayView(scriptText.toUtf8()), folder)
{}

ModernChecker::ModernChecker(QByteArrayView scriptUtf8, const QString &folder)
    : m_folder(folder)
{
    surveyLines(scriptUtf8);
}

// Labels of an included text and, recursively, of the scripts it includes.
void ModernChecker::collectLabels(QByteArrayView text,
                                  const QString &folder,
                                  QSet<QString> &visited,
                                  int depth)
{
    LineDecoder decoder;
    forEachEditorLine(text, [&](QByteArrayView raw, QByteArrayView) {
        noteLabelOrInclude(trimmedView(decoder.decode(raw)), folder, visited, depth);
    });
}

// A label line's label, or the labels of the script an include line names; a cycle ends the walk.
void ModernChecker::noteLabelOrInclude(QStringView line,
                                       const QString &folder,
                                       QSet<QString> &visited,
                                       int depth)
{
    const QStringView label = labelOf(line);
    if (!label.isEmpty()) {
        m_labels.add(label);
        return;
    }
    const auto [word, rest] = firstWordAndRest(line);
    if (depth > 64 || !equalsWord(word, QLatin1StringView("include")))
        return;
    const QString path = resolved(folder, rest);
    if (path.isEmpty() || visited.contains(path))
        return;
    visited.insert(path);
    const ReadResult read = readTextFile(path);
    if (read.error.isEmpty())
        collectLabels(read.text.utf8, QFileInfo(path).path(), visited, depth + 1);
}

// Each include is looked for once: the label walk and the line survey both ask.
QString ModernChecker::resolved(const QString &folder, QStringView written)
{
    const QString key = folder + u'\n' + written.toString();
    auto known = m_resolved.constFind(key);
    if (known == m_resolved.constEnd())
        known = m_resolved.insert(key, resolveInclude(folder, written));
    return *known;
}

// The labels, and what a line's neighbours decide: blocks, embedded code, then without a command,
// includes. One pass; a then waits for the next line that is not empty to know whether a block
// follows.
void ModernChecker::surveyLines(QByteArrayView text)
{
    std::vector<std::size_t> open;
    std::optional<std::size_t> pendingThen;
    bool embedded = false;
    QSet<QString> visited;
    LineDecoder decoder;
    forEachEditorLine(text, [&](QByteArrayView raw, QByteArrayView) {
        const std::size_t i = m_facts.size();
        LineFacts &facts = m_facts.emplace_back();
        const QStringView line = trimmedView(decoder.decode(raw));
        noteLabelOrInclude(line, m_folder, visited, 0);
        if (!line.isEmpty() && pendingThen) {
            m_facts[*pendingThen].thenWithoutCommand = !line.startsWith(u'{');
            pendingThen.reset();
        }
        if (embedded || line.startsWith(u"<%")) {
            facts.embedded = true;
            embedded = !line.contains(u"%>") || (line.startsWith(u"<%") && line.indexOf(u"%>") < 2);
            return;
        }
        if (line.isEmpty() || line.startsWith(u'#'))
            return;
        const bool closes = line.startsWith(u'}');
        if (closes) {
            if (open.empty())
                facts.unmatchedClose = true;
            else
                open.pop_back();
        }
        if (opensBlock(line))
            open.push_back(i);
        const auto [first, rest] = firstWordAndRest(closes ? trimmedView(line.sliced(1)) : line);
        const ModernWordEntry *word = modernWordOf(first);
        const ModernWord kind = word ? word->word : ModernWord::Other;
        if (kind == ModernWord::Include) {
            facts.include = resolved(m_folder, rest).isEmpty() ? -1 : 1;
        } else if (kind == ModernWord::If || kind == ModernWord::Elseif) {
            const qsizetype then = thenAt(line);
            if (then >= 0 && trimmedView(line.sliced(then + 4)).isEmpty())
                pendingThen = i;
        }
    });
    if (pendingThen)
        m_facts[*pendingThen].thenWithoutCommand = true;
    for (std::size_t i : open)
        m_facts[i].neverClosed = true;
}

Verdict ModernChecker::judgeTarget(QStringView target,
                                   QStringView found,
                                   QStringView variable,
                                   QStringView missing) const
{
    if (target.contains(u'%') || target.contains(u'$'))
        return {variable, false};
    if (m_labels.contains(target))
        return {found, false};
    return {missing, true};
}

Verdict ModernChecker::judgeConditional(QStringView line, bool isIf, int depth)
{
    const qsizetype then = thenAt(line);
    if (then < 0)
        return {isIf ? u"If Command recognised. Then missing."
                     : u"Elseif Command recognised. Then missing.",
                true};
    const QStringView command = trimmedView(line.sliced(then + 4));
    if (!command.isEmpty() && command != u"{") {
        std::optional<Verdict> ignored;
        const Verdict inner = judgeCommand(command, ignored, depth + 1);
        if (inner.error)
            return inner;
    }
    return {isIf ? u"If Command recognised." : u"Elseif Command recognised.", false};
}

Verdict ModernChecker::judgeCommand(QStringView line, std::optional<Verdict> &second, int depth)
{
    if (depth > 16)
        return {u"Command recognised.", false};
    if (line.startsWith(u'}')) {
        const QStringView after = trimmedView(line.sliced(1));
        if (after.isEmpty() || after == u"{")
            return {u"Block end recognised.", false};
        return judgeCommand(after, second, depth + 1);
    }
    if (line == u"{")
        return {u"Block start recognised.", false};
    const auto [word, rest] = firstWordAndRest(line);
    if (word.startsWith(u'%') || word.startsWith(u'$'))
        return {u"Command given by a variable.", false};
    const ModernWordEntry *entry = modernWordOf(word);
    const ModernWord kind = entry ? entry->word : ModernWord::Other;
    if (kind == ModernWord::Simple)
        return {entry->message, false};
    if (kind == ModernWord::If || kind == ModernWord::Elseif)
        return judgeConditional(line, kind == ModernWord::If, depth);
    if (kind == ModernWord::Else) {
        if (!rest.isEmpty() && rest != u"{") {
            const Verdict inner = judgeCommand(rest, second, depth + 1);
            if (inner.error)
                return inner;
        }
        return {u"Else Command recognised.", false};
    }
    if (kind == ModernWord::Gosub) {
        const QStringView target = firstWordAndRest(rest).first;
        if (target.isEmpty())
            return {u"Gosub Command recognised. Label missing.", true};
        if (equalsWord(target, QLatin1StringView("clear")))
            return {u"Gosub Command recognised.", false};
        return judgeTarget(target,
                           u"Gosub Command recognised. Label found.",
                           u"Gosub Command recognised. Variable as label.",
                           u"Gosub Command recognised. Label not found.");
    }
    if (kind == ModernWord::Goto) {
        const QStringView target = firstWordAndRest(rest).first;
        return judgeTarget(target,
                           u"Goto Command recognised. Label found.",
                           u"Goto Command recognised. Variable as label.",
                           u"Goto Command recognised. Label not found.");
    }
    const bool matchre = kind == ModernWord::Matchre;
    if (matchre || kind == ModernWord::Match) {
        ++MatchCount;
        const auto [target, trigger] = firstWordAndRest(rest);
        const Verdict verdict
            = trigger.isEmpty()
                  ? Verdict{matchre
                                ? u"Matchre Command recognised. Trigger Text or Label Name missing."
                                : u"Match Command recognised. Trigger Text or Label Name missing.",
                            true}
              : matchre ? judgeTarget(target,
                                      u"Matchre Command recognised. Label found.",
                                      u"Matchre Command recognised. Variable as label.",
                                      u"Matchre Command recognised. Label not found.")
                        : judgeTarget(target,
                                      u"Match Command recognised. Label found.",
                                      u"Match Command recognised. Variable as label.",
                                      u"Match Command recognised. Label not found.");
        // Told once a block: the 33rd match says what is wrong with all that follow it.
        if (MatchCount == 33)
            second = Verdict{tooManyMatchesMessage, true};
        return verdict;
    }
    if (kind == ModernWord::Matchwait)
        MatchCount = 0;
    if (kind == ModernWord::Action) {
        const qsizetype when = rest.indexOf(u" when ", 0, Qt::CaseInsensitive);
        if (when > 0) {
            // action [(class)] [instant] COMMAND when PATTERN
            QStringView command = trimmedView(rest.first(when));
            if (command.startsWith(u'(') && command.indexOf(u')') > 0)
                command = trimmedView(command.sliced(command.indexOf(u')') + 1));
            const auto [modifier, afterModifier] = firstWordAndRest(command);
            if (equalsWord(modifier, QLatin1StringView("instant")))
                command = afterModifier;
            // A put or send hands its semicolons to the game; otherwise several commands may
            // stand there, separated by semicolons.
            std::optional<Verdict> ignored;
            Verdict inner = judgeCommand(command, ignored, depth + 1);
            if (inner.error && command.contains(u';')) {
                inner = Verdict{u"Action Command recognised.", false};
                for (QStringView part : command.split(u';')) {
                    part = trimmedView(part);
                    const Verdict judged = part.isEmpty()
                                               ? Verdict{u"Action Command recognised.", false}
                                               : judgeCommand(part, ignored, depth + 1);
                    if (judged.error) {
                        inner = judged;
                        break;
                    }
                }
            }
            if (inner.error)
                return inner;
        }
        return {u"Action Command recognised.", false};
    }
    if (kind == ModernWord::Include)
        return {u"Include Command recognised.", false}; // whether it was found is the line's fact
    // Everything else as the classic language judges it; a tab separates words here too.
    QString blanks;
    if (line.contains(u'\t')) {
        blanks = line.toString();
        blanks.replace(u'\t', u' ');
    }
    const LineVerdicts classic = m_classic.judge(blanks.isNull() ? line : QStringView(blanks));
    return classic.first ? *classic.first : Verdict{u"Command not recognised.", true};
}

LineVerdicts ModernChecker::judge(QStringView raw)
{
    LineVerdicts verdicts;
    verdicts.line = trimmedView(raw);
    const LineFacts facts
        = m_index < qsizetype(m_facts.size()) ? m_facts[std::size_t(m_index)] : LineFacts{};
    ++m_index;
    if (verdicts.line.isEmpty())
        return verdicts;
    if (facts.embedded) {
        verdicts.first = Verdict{u"Embedded code skipped.", false};
        return verdicts;
    }
    const QStringView line = verdicts.line;
    if (!labelOf(line).isEmpty() || (endsLikeLabel(line) && !line.contains(u' ')))
        verdicts.first = Verdict{u"Label recognised.", false};
    else if (line.startsWith(u'#'))
        verdicts.first = Verdict{u"Comment recognised.", false};
    else
        verdicts.first = judgeCommand(line, verdicts.second, 0);

    // What the neighbouring lines decide comes after the line's own verdict.
    std::optional<Verdict> fact;
    if (facts.include < 0)
        fact = Verdict{u"Include Command recognised. File not found.", true};
    else if (facts.unmatchedClose)
        fact = Verdict{u"Block end without a block start.", true};
    else if (facts.neverClosed)
        fact = Verdict{u"Block start never closed.", true};
    else if (facts.thenWithoutCommand)
        fact = Verdict{u"Then has no command after it and no block below it.", true};
    if (fact) {
        if (!verdicts.first->error)
            verdicts.first = fact;
        else if (!verdicts.second)
            verdicts.second = fact;
    }
    return verdicts;
}

} // namespace Korveth
