#pragma once

#include "GameLine.h"
#include "RegularFile.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

namespace Korveth {

// Where a dry run's game text comes from, one game line at a time, in order.
class GameSource
{
public:
    virtual ~GameSource() = default;
    // The next game line, valid until the next call; null when there is none (yet).
    virtual const GameLine *next() = 0;
    // Whether more may come later: lines the user types do; a log at its end does not.
    virtual bool mayGrow() const { return false; }
    // The line of the source the last line came from, from 1.
    qint64 lineNumber() const { return m_lineNumber; }

protected:
    qint64 m_lineNumber = 0;
};

// Lines given in advance or added as the user types them; none at all for a run that is to find
// the loops that never wait.
class LineSource final : public GameSource
{
public:
    explicit LineSource(QStringList lines = {}, bool typed = false)
        : m_lines(std::move(lines))
        , m_typed(typed)
    {}
    void add(const QString &line) { m_lines.append(line); }
    const GameLine *next() override;
    bool mayGrow() const override { return m_typed; }

private:
    QStringList m_lines;
    GameLine m_line;
    qsizetype m_next = 0;
    bool m_typed;
};

// A recorded session, read as it is consumed: memory stays the same however long the log. Only a
// regular file of at most maxScriptBytes is read: a pipe or a device is refused at once.
// UTF-16 by the file's byte-order mark; otherwise each line UTF-8 when it is, else Windows-1252.
// Lines end at CR LF, LF or CR; a line longer than maxLineBytes is cut there.
class LogSource final : public GameSource
{
public:
    static constexpr qsizetype maxLineBytes = 1024 * 1024;

    explicit LogSource(const QString &path);
    // Why the log cannot be read; empty when it can.
    QString error() const { return m_error; }
    const GameLine *next() override;

private:
    bool fill();
    const GameLine *nextUtf16();

    RegularFileReader m_file;
    QString m_error;
    QByteArray m_bytes; // read, not yet cut into lines
    qsizetype m_at = 0;
    std::optional<QStringDecoder> m_utf16;
    QString m_chars; // decoded UTF-16, not yet cut
    GameLine m_line; // the line last handed out; its room is used again
    bool m_started = false;
    bool m_ended = false;
};

} // namespace Korveth
