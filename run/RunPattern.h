#pragma once

#include <QString>
#include <QStringList>

#include "GameLine.h"

#include <vector>

#include <optional>

#include <memory>

namespace Korveth {

// A pattern as matchre, waitforre and actions write it: /BODY/FLAGS (the flag i ignores letter
// case) or BODY alone, compiled once. Any valid pattern is taken; what bounds its cost is the
// matching itself: each game line may cost the library a fixed amount of work, and a line that
// would cost more is answered TooCostly, so no pattern can hold a run up on a line.
class RunPattern
{
public:
    enum class Result { NoMatch, Match, TooCostly };

    // The pattern as written; check error() before matching.
    explicit RunPattern(QStringView written);

    bool isValid() const { return m_code != nullptr; }
    // Why the pattern does not compile; empty when it does.
    const QString &error() const { return m_error; }
    const QString &written() const { return m_written; }

    Result match(QStringView line) const;
    // False when the line surely does not match: it holds none of the texts each way through the
    // pattern needs (found once, when the pattern is compiled). Costs a plain search of the line's
    // bytes, so most game lines never reach the pattern library. True for a pattern whose texts
    // cannot be told.
    bool mayMatch(const GameLine &line) const;
    // Those texts; empty when they cannot be told.
    const std::vector<FoldedText> &neededTexts() const { return m_needed; }
    // After a Match: the whole match and each group's text ($0, $1, ...); a group that took no
    // part is empty.
    QStringList groups(QStringView line) const;
    // Every match in text replaced by replacement, where $1 ... stand for the groups; nothing
    // when the pattern is not valid or the replacing costs too much.
    std::optional<QString> replaceAll(QStringView text, QStringView replacement) const;

private:
    struct Code;
    QString m_written;
    QString m_error;
    std::vector<FoldedText> m_needed; // one of these is in every line that matches; none: unknown
    std::shared_ptr<Code> m_code;     // shared by copies: compiled code is read-only
};

} // namespace Korveth
