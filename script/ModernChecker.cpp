#include "ModernChecker.h"

#include "Includes.h"
#include "ModernSurvey.h"
#include "ModernWords.h"
#include "ScriptLanguage.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace Korveth {

bool looksModern(QByteArrayView scriptUtf8)
{
    bool modern = false;
    LineDecoder decoder;
    forEachEditorLine(scriptUtf8, [&](QByteArrayView bytes, QByteArrayView) {
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
{
    // One pass: the labels, this script's and its includes', and what each line's neighbours
    // decide.
    ModernSurvey survey(
        [&](QStringView written) { return !m_includes.resolved(folder, written).isEmpty(); });
    LineDecoder decoder;
    forEachEditorLine(scriptUtf8, [&](QByteArrayView raw, QByteArrayView) {
        // Most lines are commands that neither define nor bring in a label, nor touch a block.
        if (ModernSurvey::isPlain(trimmedView(raw))) {
            survey.addShape(ModernLineShape{});
            return;
        }
        const QStringView line = trimmedView(decoder.decode(raw));
        if (const QStringView label = labelDefinedBy(line); !label.isEmpty()) {
            m_labels.add(label);
        } else if (const auto [word, rest] = firstWordAndRest(line);
                   equalsWord(word, QLatin1StringView("include"))) {
            for (const IncludedLabel &included : m_includes.labelsOf(folder, rest))
                m_labels.add(included.name);
        }
        survey.addLine(line);
    });
    m_facts = survey.finish();
}

void ModernChecker::setLabels(LabelSet labels)
{
    m_labels = std::move(labels);
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
    const ModernLineFacts facts
        = m_index < qsizetype(m_facts.size()) ? m_facts[std::size_t(m_index)] : ModernLineFacts{};
    ++m_index;
    return judgeWithFacts(raw, facts);
}

LineVerdicts ModernChecker::judgeWithFacts(QStringView raw, const ModernLineFacts &facts)
{
    LineVerdicts verdicts;
    verdicts.line = trimmedView(raw);
    if (verdicts.line.isEmpty())
        return verdicts;
    if (facts.embedded) {
        verdicts.first = Verdict{u"Embedded code skipped.", false};
        return verdicts;
    }
    const QStringView line = verdicts.line;
    if (!labelDefinedBy(line).isEmpty() || (endsLikeLabel(line) && !line.contains(u' ')))
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
