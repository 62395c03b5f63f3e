#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace Korveth {

// The game's tagged stream, as players' front end reads it: the tags around the text say what
// goes where (the prompt, round time, the hands, the room, the bars, the status icons), and the
// front end keeps those facts as $ globals. A log kept in that form gives a dry run the globals a
// plain log cannot, and its plain text is what scripts match against.
class GameMarkup
{
public:
    // Whether a log line is in the tagged form (it holds one of the game's own tags): from the
    // first such line on, a log is read as tagged.
    static bool isTagged(QStringView line);

    // A tagged line: the text a player sees in the game window, or nothing when it shows none
    // (a line of tags alone, or text for another window). The globals it sets go into globals,
    // by upper-cased name.
    std::optional<QString> read(QStringView line, QHash<QString, QString> &globals);

private:
    void tag(QStringView name,
             QStringView attributes,
             bool closing,
             bool selfClosing,
             QHash<QString, QString> &globals);
    void setRoundTime(QHash<QString, QString> &globals) const;

    int m_otherWindow = 0; // inside pushStream ... popStream
    QString m_capturing;   // the paired tag whose text is being taken ("left", "room desc")
    QString m_captured;    // its text so far
    std::optional<qint64> m_gameTime;
    std::optional<qint64> m_roundTimeEnd;
};

} // namespace Korveth
