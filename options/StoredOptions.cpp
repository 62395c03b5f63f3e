#include "StoredOptions.h"

#include <QSettings>

namespace Korveth {

namespace {

std::optional<QFont> fontAt(const QSettings &settings, const QString &key)
{
    QFont font;
    if (!settings.contains(key) || !font.fromString(settings.value(key).toString()))
        return std::nullopt;
    return font;
}

std::optional<QColor> colorAt(const QSettings &settings, const QString &key)
{
    const QColor color = QColor::fromString(settings.value(key).toString());
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

void put(QSettings &settings, const QString &key, const std::optional<QFont> &font)
{
    if (font)
        settings.setValue(key, font->toString());
    else
        settings.remove(key); // the default again: an old choice must not come back
}

void put(QSettings &settings, const QString &key, const std::optional<QColor> &color)
{
    if (color)
        settings.setValue(key, color->name());
    else
        settings.remove(key);
}

} // namespace

StoredOptions StoredOptions::load(const QSettings &settings)
{
    StoredOptions options;
    options.editor.font = fontAt(settings, QStringLiteral("editor/font"));
    options.editor.text = colorAt(settings, QStringLiteral("editor/textColor"));
    options.editor.keywords = colorAt(settings, QStringLiteral("editor/keywordColor"));
    options.editor.operators = colorAt(settings, QStringLiteral("editor/operatorColor"));
    options.debuggerFont = fontAt(settings, QStringLiteral("debugger/font"));
    bool known = false;
    const int dialect = settings.value(QStringLiteral("debugger/dialect")).toInt(&known);
    if (known && dialect >= 0 && dialect <= 2)
        options.dialect = dialect;
    const QVariant live = settings.value(QStringLiteral("editor/liveCheck"));
    if (live.isValid())
        options.liveCheck = live.toBool();
    options.scriptsFolder = settings.value(QStringLiteral("editor/scriptsFolder")).toString();
    return options;
}

void StoredOptions::save(QSettings &settings) const
{
    put(settings, QStringLiteral("editor/font"), editor.font);
    put(settings, QStringLiteral("editor/textColor"), editor.text);
    put(settings, QStringLiteral("editor/keywordColor"), editor.keywords);
    put(settings, QStringLiteral("editor/operatorColor"), editor.operators);
    put(settings, QStringLiteral("debugger/font"), debuggerFont);
    if (dialect)
        settings.setValue(QStringLiteral("debugger/dialect"), *dialect);
    if (liveCheck)
        settings.setValue(QStringLiteral("editor/liveCheck"), *liveCheck);
    settings.setValue(QStringLiteral("editor/scriptsFolder"), scriptsFolder);
    settings.sync();
}

} // namespace Korveth
