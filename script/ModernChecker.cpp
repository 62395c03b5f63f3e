#include "ModernChecker.h"

#include "ModernSurvey.h"
#include "ModernWords.h"
#include "ScriptLanguage.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <future>

namespace Korveth {

namespace {

// A stretch of lines surveyed without the library, on another thread: each line's shape, the
// labels it defines, and the include lines, whose shapes and labels the library tells.
struct ApartSurvey
{
    std::vector<ModernLineShape> shapes;
    QStringList labels;
    std::vector<std::pair<std::size_t, QString>> includes; // the line's place, and it trimmed
};

ApartSurvey surveyApart(QByteArrayView stretch)
{
    ApartSurvey found;
    found.shapes.reserve(std::size_t(stretch.size() / 24) + 1);
    LineDecoder decoder;
    forEachEditorLine(stretch, [&](QByteArrayView raw, QByteArrayView) {
        if (ModernSurvey::isPlain(trimmedView(raw))) {
            found.shapes.emplace_back();
            return;
        }
        const QStringView line = trimmedView(decoder.decode(raw));
        if (const QStringView label = labelDefinedBy(line); !label.isEmpty())
            found.labels.append(label.toString());
        else if (!includeNamedBy(line).isEmpty())
            found.includes.emplace_back(found.shapes.size(), line.toString());
        found.shapes.push_back(ModernSurvey::shapeOf(line, {}));
    });
    return found;
}

} // namespace

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

Dialect dialectFor(DialectChoice choice, QByteArrayView scriptUtf8)
{
    const bool modern = choice == DialectChoice::Modern
                        || (choice == DialectChoice::Auto && looksModern(scriptUtf8));
    return modern ? Dialect::Modern : Dialect::Classic;
}

std::unique_ptr<LineChecker> makeChecker(const QByteArray &scriptUtf8,
                                         DialectChoice choice,
                                         const IncludeSearch &search,
                                         Dialect *chosen,
                                         ScriptLibrary *library,
                                         Threads threads)
{
    const Dialect dialect = dialectFor(choice, scriptUtf8);
    if (chosen)
        *chosen = dialect;
    if (dialect == Dialect::Modern)
        return std::make_unique<ModernChecker>(
            QByteArrayView(scriptUtf8), search, library, threads);
    return std::make_unique<ScriptChecker>(scriptUtf8);
}

ModernChecker::ModernChecker(QStringView scriptText,
                             const IncludeSearch &search,
                             ScriptLibrary *library)
    : ModernChecker(QByteArrayView(scriptText.toUtf8()), search, library)
{}

ModernChecker::ModernChecker(QByteArrayView scriptUtf8,
                             const IncludeSearch &search,
                             ScriptLibrary *library,
                             Threads threads)
{
    ScriptLibrary own;
    ScriptLibrary &scripts = library ? *library : own;
    // One pass: the labels, this script's and its includes', and what each line's neighbours
    // decide. Each include is looked for once.
    QHash<QString, FoundInclude> resolved;
    auto find = [&](QStringView written) -> const FoundInclude & {
        const QString key = written.toString();
        auto known = resolved.constFind(key);
        if (known == resolved.constEnd())
            known = resolved.insert(key, scripts.find(search, written));
        return *known;
    };
    auto resolve = [&](QStringView written) {
        return find(written).script();
    };
    ModernSurvey survey([&](QStringView written) { return find(written).state; });
    // A guess at the line count: counting the lines first would read the whole text once more.
    survey.reserve(std::size_t(scriptUtf8.size() / 24) + 1);
    auto surveyLine = [&](QStringView line) {
        QStringView included;
        if (const QStringView label = labelDefinedBy(line); !label.isEmpty())
            m_labels.defer(label);
        else
            included = includeNamedBy(line);
        if (!included.isEmpty() && !resolve(included).isEmpty()) {
            for (const IncludedLabel &label : scripts.labelsOf(resolve(included), search.root))
                m_labels.add(label.name);
        }
        survey.addLine(line);
    };
    LineDecoder decoder;
    auto surveyRaw = [&](QByteArrayView raw, QByteArrayView) {
        // Most lines are commands that neither define nor bring in a label, nor touch a block.
        if (ModernSurvey::isPlain(trimmedView(raw)))
            survey.addShape(ModernLineShape{});
        else
            surveyLine(trimmedView(decoder.decode(raw)));
    };
    const std::optional<TextHalves> halves
        = threads == Threads::Two ? halvesForTwoThreads(scriptUtf8) : std::nullopt;
    if (!halves) {
        forEachEditorLine(scriptUtf8, surveyRaw);
    } else {
        // The second half's lines are told apart on another thread; what only the library can
        // tell (the include lines) is done here, in their place.
        auto later = std::async(std::launch::async, [&] { return surveyApart(halves->second); });
        forEachEditorLine(halves->first, surveyRaw);
        const ApartSurvey found = later.get();
        auto include = found.includes.begin();
        for (std::size_t i = 0; i < found.shapes.size(); ++i) {
            if (include != found.includes.end() && include->first == i)
                surveyLine((include++)->second);
            else
                survey.addShape(found.shapes[i]);
        }
        for (const QString &label : found.labels)
            m_labels.defer(label);
    }
    m_labels.flush();
    m_facts = survey.finish();
}

void ModernChecker::setLabels(LabelSet labels)
{
    m_labels = std::move(labels);
}

Verdict ModernChecker::judgeTarget(QStringView target,
                                   VerdictKind found,
                                   VerdictKind variable,
                                   VerdictKind missing) const
{
    if (target.contains(u'%') || target.contains(u'$'))
        return {variable};
    if (m_known ? m_known->knowsLabel(upperCased(target)) : m_labels.contains(target))
        return {found};
    return {missing};
}

Verdict ModernChecker::judgeConditional(QStringView line, bool isIf, int depth)
{
    const qsizetype then = thenAt(line);
    if (then < 0)
        return {isIf ? VerdictKind::IfThenMissing : VerdictKind::ElseifThenMissing};
    const QStringView command = trimmedView(line.sliced(then + 4));
    if (!command.isEmpty() && command != u"{") {
        std::optional<Verdict> ignored;
        const Verdict inner = judgeCommand(command, ignored, depth + 1);
        if (inner.error())
            return inner;
    }
    return {isIf ? VerdictKind::If : VerdictKind::Elseif};
}

Verdict ModernChecker::judgeCommand(QStringView line, std::optional<Verdict> &second, int depth)
{
    if (depth > 16)
        return {VerdictKind::Command};
    if (line.startsWith(u'}')) {
        const QStringView after = trimmedView(line.sliced(1));
        if (after.isEmpty() || after == u"{")
            return {VerdictKind::BlockEnd};
        return judgeCommand(after, second, depth + 1);
    }
    if (line == u"{")
        return {VerdictKind::BlockStart};
    const auto [word, rest] = firstWordAndRest(line);
    if (word.startsWith(u'%') || word.startsWith(u'$'))
        return {VerdictKind::CommandFromVariable};
    const ModernWordEntry *entry = modernWordOf(word);
    const ModernWord kind = entry ? entry->word : ModernWord::Other;
    if (kind == ModernWord::Simple)
        return {entry->verdict};
    if (kind == ModernWord::If || kind == ModernWord::Elseif)
        return judgeConditional(line, kind == ModernWord::If, depth);
    if (kind == ModernWord::Else) {
        if (!rest.isEmpty() && rest != u"{") {
            const Verdict inner = judgeCommand(rest, second, depth + 1);
            if (inner.error())
                return inner;
        }
        return {VerdictKind::Else};
    }
    if (kind == ModernWord::Gosub) {
        const QStringView target = firstWordAndRest(rest).first;
        if (target.isEmpty())
            return {VerdictKind::GosubLabelMissing};
        if (equalsWord(target, QLatin1StringView("clear")))
            return {VerdictKind::Gosub};
        return judgeTarget(target,
                           VerdictKind::GosubLabelFound,
                           VerdictKind::GosubVariableAsLabel,
                           VerdictKind::GosubLabelNotFound);
    }
    if (kind == ModernWord::Goto) {
        const QStringView target = firstWordAndRest(rest).first;
        return judgeTarget(target,
                           VerdictKind::GotoLabelFound,
                           VerdictKind::GotoVariableAsLabel,
                           VerdictKind::GotoLabelNotFound);
    }
    const bool matchre = kind == ModernWord::Matchre;
    if (matchre || kind == ModernWord::Match) {
        ++MatchCount;
        const auto [target, trigger] = firstWordAndRest(rest);
        const Verdict verdict = trigger.isEmpty()
                                    ? Verdict{matchre ? VerdictKind::MatchreTriggerOrLabelMissing
                                                      : VerdictKind::MatchTriggerOrLabelMissing}
                                : matchre ? judgeTarget(target,
                                                        VerdictKind::MatchreLabelFound,
                                                        VerdictKind::MatchreVariableAsLabel,
                                                        VerdictKind::MatchreLabelNotFound)
                                          : judgeTarget(target,
                                                        VerdictKind::MatchLabelFound,
                                                        VerdictKind::MatchVariableAsLabel,
                                                        VerdictKind::MatchLabelNotFound);
        // Told once a block: the 33rd match says what is wrong with all that follow it.
        if (MatchCount == 33)
            second = Verdict{VerdictKind::TooManyMatches};
        return verdict;
    }
    if (kind == ModernWord::Matchwait) {
        MatchCount = 0;
        ++MatchesCleared;
    }
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
            // The client's own commands ("#send 5 ...") are the client's business.
            if (command.startsWith(u'#'))
                return {VerdictKind::Action};
            // A put or send hands its semicolons to the game; otherwise several commands may
            // stand there, separated by semicolons.
            std::optional<Verdict> ignored;
            Verdict inner = judgeCommand(command, ignored, depth + 1);
            if (inner.error() && command.contains(u';')) {
                inner = Verdict{VerdictKind::Action};
                for (QStringView part : command.split(u';')) {
                    part = trimmedView(part);
                    const Verdict judged = part.isEmpty() || part.startsWith(u'#')
                                               ? Verdict{VerdictKind::Action}
                                               : judgeCommand(part, ignored, depth + 1);
                    if (judged.error()) {
                        inner = judged;
                        break;
                    }
                }
            }
            if (inner.error())
                return inner;
        }
        return {VerdictKind::Action};
    }
    if (kind == ModernWord::Include)
        return {VerdictKind::Include}; // whether it was found is the line's fact
    // Everything else as the classic language judges it; a tab separates words here too.
    QString blanks;
    if (line.contains(u'\t')) {
        blanks = line.toString();
        blanks.replace(u'\t', u' ');
    }
    const LineVerdicts classic = m_classic.judge(blanks.isNull() ? line : QStringView(blanks));
    // A "#" starts a comment only at the start of a line here ("put #var x 1" is a put): what the
    // classic rule takes for a comment after other text is an unknown command.
    if (!classic.first || classic.first->kind == VerdictKind::Comment)
        return {VerdictKind::CommandNotRecognised};
    return *classic.first;
}

std::unique_ptr<LineChecker> ModernChecker::copy() const
{
    auto copy = std::make_unique<ModernChecker>(*this);
    copy->MatchCount = 0;
    return copy;
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
        verdicts.first = Verdict{VerdictKind::EmbeddedCode};
        return verdicts;
    }
    // A byte-order mark left at the start of the text hides no comment.
    const QStringView line
        = verdicts.line.startsWith(QChar(0xFEFF)) ? verdicts.line.sliced(1) : verdicts.line;
    if (!labelDefinedBy(line).isEmpty() || (endsLikeLabel(line) && !line.contains(u' ')))
        verdicts.first = Verdict{VerdictKind::Label};
    else if (line.startsWith(u'#'))
        verdicts.first = Verdict{VerdictKind::Comment};
    else
        verdicts.first = judgeCommand(line, verdicts.second, 0);

    // What the neighbouring lines decide comes after the line's own verdict.
    std::optional<Verdict> fact;
    if (facts.include == IncludeFile::Missing)
        fact = Verdict{VerdictKind::IncludeNotFound};
    else if (facts.include == IncludeFile::Unreadable)
        fact = Verdict{VerdictKind::IncludeUnreadable};
    else if (facts.unmatchedClose)
        fact = Verdict{VerdictKind::BlockEndWithoutStart};
    else if (facts.neverClosed)
        fact = Verdict{VerdictKind::BlockStartNeverClosed};
    else if (facts.thenWithoutCommand)
        fact = Verdict{VerdictKind::ThenWithoutCommand};
    else if (facts.elseAfterElse)
        fact = Verdict{VerdictKind::ElseAfterElse};
    if (fact) {
        if (!verdicts.first->error())
            verdicts.first = fact;
        else if (!verdicts.second)
            verdicts.second = fact;
    }
    return verdicts;
}

} // namespace Korveth
