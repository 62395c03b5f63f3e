#include "RunPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>

namespace Korveth {

namespace {

// The work one game line may cost: a pattern of everyday shape needs a few thousand steps on a
// game line; one whose cost grows exponentially reaches this in under 10 ms (JIT) and is stopped.
constexpr uint32_t matchLimit = 1000000;
constexpr uint32_t depthLimit = 5000;
constexpr PCRE2_SIZE heapLimitKiB = 16 * 1024;
constexpr PCRE2_SIZE jitStackBytes = 1024 * 1024;

// Each thread matches on a JIT stack of its own: a stack may not be shared while in use.
pcre2_jit_stack *threadJitStack(void *)
{
    struct Stack
    {
        pcre2_jit_stack *stack = pcre2_jit_stack_create(32 * 1024, jitStackBytes, nullptr);
        ~Stack() { pcre2_jit_stack_free(stack); }
    };
    thread_local Stack stack;
    return stack.stack;
}

// The limits every match runs under; read-only once made, so every thread may use it.
pcre2_match_context *limitedContext()
{
    static pcre2_match_context *context = [] {
        pcre2_match_context *made = pcre2_match_context_create(nullptr);
        pcre2_set_match_limit(made, matchLimit);
        pcre2_set_depth_limit(made, depthLimit);
        pcre2_set_heap_limit(made, heapLimitKiB);
        pcre2_jit_stack_assign(made, threadJitStack, nullptr);
        return made;
    }();
    return context;
}

QString errorText(int code)
{
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, 256);
    return length > 0 ? QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), length)
                      : QStringLiteral("error %1").arg(code);
}

// For each way through a pattern (its alternatives at the top), the longest run of plain text it
// must hold; nothing when some way holds none, or the pattern is beyond this simple reading
// (inline options, look-arounds). Text inside groups and classes, and a character a quantifier
// may leave out, are never part of a run.
std::vector<QString> textsEveryMatchHolds(QStringView body)
{
    if (body.contains(u"(?"))
        return {};
    std::vector<QString> needed;
    QString run, longest;
    auto endRun = [&] {
        if (run.size() > longest.size())
            longest = run;
        run.clear();
    };
    auto endAlternative = [&] {
        endRun();
        needed.push_back(longest);
        longest.clear();
        return !needed.back().isEmpty();
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'|') {
            if (!endAlternative())
                return {};
        } else if (c == u'\\') {
            if (i + 1 >= body.size())
                return {};
            const QChar escaped = body[++i];
            if (escaped.isLetterOrNumber())
                endRun(); // a class (\d, \w), an anchor (\b) or a reference
            else
                run += escaped;
        } else if (c == u'(' || c == u'[') {
            endRun();
            // Passed over whole, nested groups and escapes included.
            int depth = 0;
            for (; i < body.size(); ++i) {
                if (body[i] == u'\\') {
                    ++i;
                    continue;
                }
                if (c == u'[' && body[i] == u']' && depth > 0 && body[i - 1] != u'[')
                    break;
                if (c == u'[' && body[i] == u'[')
                    depth = 1;
                if (c == u'(' && body[i] == u'(')
                    ++depth;
                if (c == u'(' && body[i] == u')' && --depth == 0)
                    break;
            }
            if (i >= body.size())
                return {};
        } else if (c == u'?' || c == u'*' || c == u'{') {
            if (!run.isEmpty())
                run.chop(1); // the character before may be left out
            endRun();
        } else if (c == u'+') {
            endRun(); // the character before may come again
        } else if (c == u'.' || c == u'^' || c == u'$' || c == u')' || c == u']' || c == u'}') {
            endRun();
        } else {
            run += c;
        }
    }
    if (!endAlternative())
        return {};
    return needed;
}

} // namespace

struct RunPattern::Code
{
    pcre2_code *code = nullptr;
    ~Code() { pcre2_code_free(code); }
};

RunPattern::RunPattern(QStringView written)
    : m_written(written.toString())
{
    QStringView body = written;
    uint32_t options = PCRE2_UTF | PCRE2_UCP;
    if (const qsizetype end = body.lastIndexOf(u'/'); body.startsWith(u'/') && end > 0) {
        if (body.sliced(end + 1).contains(u'i'))
            options |= PCRE2_CASELESS;
        body = body.sliced(1, end - 1);
    }
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code *code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(body.utf16()),
                                     PCRE2_SIZE(body.size()),
                                     options,
                                     &errorCode,
                                     &errorOffset,
                                     nullptr);
    if (!code) {
        m_error
            = QStringLiteral("%1 at character %2").arg(errorText(errorCode)).arg(errorOffset + 1);
        return;
    }
    // Without a JIT on the platform the interpreter runs under the same limits.
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    m_code = std::make_shared<Code>();
    m_code->code = code;
    for (const QString &text : textsEveryMatchHolds(body))
        m_needed.emplace_back(text);
}

bool RunPattern::mayMatch(const GameLine &line) const
{
    if (m_needed.empty())
        return true;
    return std::any_of(m_needed.begin(), m_needed.end(), [&](const FoldedText &text) {
        return line.contains(text);
    });
}

RunPattern::Result RunPattern::match(QStringView line) const
{
    if (!m_code)
        return Result::NoMatch;
    // Whether it matches is all that is asked: one pair of offsets, made once a thread.
    struct Data
    {
        pcre2_match_data *data = pcre2_match_data_create(1, nullptr);
        ~Data() { pcre2_match_data_free(data); }
    };
    thread_local Data room;
    pcre2_match_data *data = room.data;
    const int rc = pcre2_match(m_code->code,
                               reinterpret_cast<PCRE2_SPTR>(line.utf16()),
                               PCRE2_SIZE(line.size()),
                               0,
                               0,
                               data,
                               limitedContext());
    if (rc >= 0)
        return Result::Match;
    switch (rc) {
    case PCRE2_ERROR_NOMATCH:
    case PCRE2_ERROR_PARTIAL:
        return Result::NoMatch;
    case PCRE2_ERROR_MATCHLIMIT:
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_JIT_STACKLIMIT:
    case PCRE2_ERROR_NOMEMORY:
        return Result::TooCostly;
    default:
        // A line that is not valid UTF-16 cannot hold what a pattern looks for.
        return Result::NoMatch;
    }
}

QStringList RunPattern::groups(QStringView line) const
{
    QStringList found;
    if (!m_code)
        return found;
    pcre2_match_data *data = pcre2_match_data_create_from_pattern(m_code->code, nullptr);
    const int rc = pcre2_match(m_code->code,
                               reinterpret_cast<PCRE2_SPTR>(line.utf16()),
                               PCRE2_SIZE(line.size()),
                               0,
                               0,
                               data,
                               limitedContext());
    if (rc > 0) {
        const PCRE2_SIZE *offsets = pcre2_get_ovector_pointer(data);
        for (int i = 0; i < rc; ++i) {
            const PCRE2_SIZE start = offsets[2 * i], end = offsets[2 * i + 1];
            found.append(start == PCRE2_UNSET
                             ? QString()
                             : line.sliced(qsizetype(start), qsizetype(end - start)).toString());
        }
    }
    pcre2_match_data_free(data);
    return found;
}

std::optional<QString> RunPattern::replaceAll(QStringView text, QStringView replacement) const
{
    if (!m_code)
        return std::nullopt;
    // Room for the text grown by a few replacements first; the library says when it needs more.
    PCRE2_SIZE room = PCRE2_SIZE(text.size()) * 2 + PCRE2_SIZE(replacement.size()) + 64;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::u16string out(room, u'\0');
        PCRE2_SIZE length = room;
        const int rc = pcre2_substitute(m_code->code,
                                        reinterpret_cast<PCRE2_SPTR>(text.utf16()),
                                        PCRE2_SIZE(text.size()),
                                        0,
                                        PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH,
                                        nullptr,
                                        limitedContext(),
                                        reinterpret_cast<PCRE2_SPTR>(replacement.utf16()),
                                        PCRE2_SIZE(replacement.size()),
                                        reinterpret_cast<PCRE2_UCHAR *>(out.data()),
                                        &length);
        if (rc >= 0)
            return QString::fromUtf16(out.data(), qsizetype(length));
        if (rc != PCRE2_ERROR_NOMEMORY)
            return std::nullopt;
        room = length; // what it needs, told by the overflow
    }
    return std::nullopt;
}

} // namespace Korveth
