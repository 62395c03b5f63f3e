#include "GameMarkup.h"

namespace Korveth {

namespace {

// The tags the game sends that a plain log never holds.
constexpr QStringView gameTags[] = {
    u"<prompt",       u"<roundTime",   u"<pushStream", u"<popStream", u"<component",
    u"<streamWindow", u"<progressBar", u"<indicator",  u"<left",      u"<right",
    u"<compass",      u"<nav",         u"<pushBold",   u"<popBold",   u"<preset",
    u"<style",        u"<dialogData",  u"<castTime",   u"<app",
};

QString decodeEntities(QStringView text)
{
    if (!text.contains(u'&'))
        return text.toString();
    QString out = text.toString();
    out.replace(u"&gt;"_qs, u">"_qs)
        .replace(u"&lt;"_qs, u"<"_qs)
        .replace(u"&quot;"_qs, u"\""_qs)
        .replace(u"&apos;"_qs, u"'"_qs)
        .replace(u"&amp;"_qs, u"&"_qs);
    return out;
}

// The value of name="..." or name='...' among a tag's attributes.
QString attribute(QStringView attributes, QStringView name)
{
    for (qsizetype at = attributes.indexOf(name); at >= 0; at = attributes.indexOf(name, at + 1)) {
        const qsizetype equals = at + name.size();
        if ((at > 0 && !attributes[at - 1].isSpace()) || equals + 1 >= attributes.size()
            || attributes[equals] != u'=')
            continue;
        const QChar quote = attributes[equals + 1];
        if (quote != u'"' && quote != u'\'')
            continue;
        const qsizetype end = attributes.indexOf(quote, equals + 2);
        if (end > 0)
            return decodeEntities(attributes.sliced(equals + 2, end - equals - 2));
    }
    return {};
}

// The global a status icon sets: IconSTANDING is $standing.
// The learning states of the experience window, slowest first: a skill's learning rate is its
// state's place here.
constexpr QStringView learningStates[] = {
    u"clear",      u"dabbling",     u"perusing",     u"learning",      u"thoughtful",
    u"thinking",   u"considering",  u"pondering",    u"ruminating",    u"concentrating",
    u"attentive",  u"deliberative", u"interested",   u"examining",     u"understanding",
    u"absorbing",  u"intrigued",    u"scrutinizing", u"analyzing",     u"studious",
    u"focused",    u"very focused", u"engaged",      u"very engaged",  u"cogitating",
    u"fascinated", u"captivated",   u"engrossed",    u"riveted",       u"very riveted",
    u"rapt",       u"very rapt",    u"enthralled",   u"nearly locked", u"mind lock",
};

// An experience line ("Arcana:  1644 35% dabbling"): $Arcana.Ranks 1644.35,
// $Arcana.LearningRate 1, $Arcana.LearningRateName dabbling.
void readExperience(QStringView skill, const QString &line, QHash<QString, QString> &globals)
{
    const qsizetype colon = line.indexOf(u':');
    const QStringList words = line.sliced(colon + 1).simplified().split(u' ');
    if (colon < 0 || words.size() < 3 || !words[1].endsWith(u'%'))
        return;
    const QString key = skill.toString().toUpper();
    globals.insert(key + u".RANKS"_qs, words[0] + u'.' + words[1].chopped(1));
    const QString state = words.sliced(2).join(u' ');
    globals.insert(key + u".LEARNINGRATENAME"_qs, state);
    for (std::size_t i = 0; i < std::size(learningStates); ++i) {
        if (state.compare(learningStates[i], Qt::CaseInsensitive) == 0)
            globals.insert(key + u".LEARNINGRATE"_qs, QString::number(i));
    }
}

QString iconGlobal(QStringView id)
{
    return id.startsWith(u"Icon") ? id.sliced(4).toString().toUpper() : id.toString().toUpper();
}

} // namespace

bool GameMarkup::isTagged(QStringView line)
{
    if (!line.contains(u'<'))
        return false;
    for (QStringView tag : gameTags) {
        if (const qsizetype at = line.indexOf(tag); at >= 0) {
            const qsizetype after = at + tag.size();
            if (after >= line.size() || line[after] == u' ' || line[after] == u'>'
                || line[after] == u'/')
                return true;
        }
    }
    return false;
}

std::optional<QString> GameMarkup::read(QStringView line, QHash<QString, QString> &globals)
{
    QString shown;
    bool hadTag = false;
    qsizetype at = 0;
    while (at < line.size()) {
        const qsizetype open = line.indexOf(u'<', at);
        const qsizetype close = open < 0 ? -1 : line.indexOf(u'>', open);
        const QStringView text = line.sliced(at, (close < 0 ? line.size() : open) - at);
        if (!m_capturing.isEmpty())
            m_captured += text;
        if ((m_capturing.isEmpty() || m_capturing == u"prompt") && m_otherWindow == 0)
            shown += text;
        if (close < 0)
            break;
        hadTag = true;
        QStringView inner = line.sliced(open + 1, close - open - 1);
        const bool closing = inner.startsWith(u'/');
        const bool selfClosing = inner.endsWith(u'/');
        if (closing)
            inner = inner.sliced(1);
        if (selfClosing)
            inner.chop(1);
        qsizetype nameEnd = 0;
        while (nameEnd < inner.size() && !inner[nameEnd].isSpace())
            ++nameEnd;
        tag(inner.first(nameEnd), inner.sliced(nameEnd), closing, selfClosing, globals);
        at = close + 1;
    }
    // A line of tags alone, or of text for another window, is no game line.
    if ((hadTag || m_otherWindow > 0 || !m_capturing.isEmpty()) && shown.trimmed().isEmpty())
        return std::nullopt;
    return decodeEntities(shown);
}

void GameMarkup::tag(QStringView name,
                     QStringView attributes,
                     bool closing,
                     bool selfClosing,
                     QHash<QString, QString> &globals)
{
    const auto set = [&](const char *global, const QString &value) {
        globals.insert(QString::fromLatin1(global), value);
    };
    if (closing) {
        if (m_capturing.isEmpty())
            return;
        const QString value = decodeEntities(m_captured).trimmed();
        if (m_capturing == u"prompt") {
            set("PROMPT", value);
        } else if (m_capturing == u"left" || m_capturing == u"right") {
            set(m_capturing == u"left" ? "LEFTHAND" : "RIGHTHAND", value);
        } else if (m_capturing == u"spell") {
            set("PREPAREDSPELL", value);
        } else if (m_capturing.startsWith(u"room ")) {
            globals.insert(u"ROOM"_qs + m_capturing.sliced(5).toUpper(), value);
        } else if (m_capturing.startsWith(u"exp ")) {
            readExperience(QStringView(m_capturing).sliced(4), value, globals);
        }
        m_capturing.clear();
        m_captured.clear();
        return;
    }
    if (name == u"prompt") {
        if (const QString time = attribute(attributes, u"time"); !time.isEmpty()) {
            m_gameTime = time.toLongLong();
            set("GAMETIME", time);
            setRoundTime(globals);
        }
        // The prompt's text shows in the game window, and is $prompt too.
        if (!selfClosing) {
            m_capturing = u"prompt"_qs;
            m_captured.clear();
        }
    } else if (name == u"roundTime") {
        m_roundTimeEnd = attribute(attributes, u"value").toLongLong();
        setRoundTime(globals);
    } else if (name == u"left" || name == u"right") {
        set(name == u"left" ? "LEFTHANDNOUN" : "RIGHTHANDNOUN", attribute(attributes, u"noun"));
        if (!selfClosing) {
            m_capturing = name.toString();
            m_captured.clear();
        }
    } else if (name == u"spell" && !selfClosing) {
        m_capturing = u"spell"_qs;
        m_captured.clear();
    } else if (name == u"component") {
        const QString id = attribute(attributes, u"id");
        if ((id.startsWith(u"room ") || id.startsWith(u"exp ")) && !selfClosing) {
            m_capturing = id;
            m_captured.clear();
        } else if (!selfClosing) {
            m_capturing = u"other"_qs; // experience and the like: not game-window text
            m_captured.clear();
        }
    } else if (name == u"streamWindow" || name == u"streamwindow") {
        if (attribute(attributes, u"id") == u"room") {
            QString title = attribute(attributes, u"subtitle");
            if (title.startsWith(u" - "))
                title.remove(0, 3);
            if (title.startsWith(u'[') && title.endsWith(u']'))
                title = title.sliced(1, title.size() - 2);
            set("ROOMNAME", title);
        }
    } else if (name == u"progressBar") {
        const QString id = attribute(attributes, u"id").toUpper();
        if (!id.isEmpty())
            globals.insert(id, attribute(attributes, u"value"));
    } else if (name == u"indicator") {
        const QString id = attribute(attributes, u"id");
        if (!id.isEmpty())
            globals.insert(iconGlobal(id),
                           attribute(attributes, u"visible") == u"y" ? u"1"_qs : u"0"_qs);
    } else if (name == u"app") {
        if (const QString character = attribute(attributes, u"char"); !character.isEmpty())
            set("CHARACTERNAME", character);
    } else if (name == u"pushStream") {
        ++m_otherWindow;
    } else if (name == u"popStream") {
        m_otherWindow = qMax(0, m_otherWindow - 1);
    }
}

// Seconds of round time left as the game's clock says.
void GameMarkup::setRoundTime(QHash<QString, QString> &globals) const
{
    if (!m_roundTimeEnd)
        return;
    const qint64 left = m_gameTime ? qMax<qint64>(0, *m_roundTimeEnd - *m_gameTime) : 0;
    globals.insert(u"ROUNDTIME"_qs, QString::number(left));
}

} // namespace Korveth
