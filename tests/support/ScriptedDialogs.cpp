#include "ScriptedDialogs.h"

#include <QDialog>

namespace Korveth {

Dialogs::Answer
ScriptedDialogs::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    shown.append({QStringLiteral("message"), title, text, icon, buttons, {}});
    if (onMessage)
        onMessage(shown.last());
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.isEmpty()) {
        unexpected.append(title + QStringLiteral(": ") + text);
        return Answer::Cancel;
    }
    return answers.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &title, const QList<FileFilter> &filters)
{
    shown.append({QStringLiteral("open"), title, {}, Icon::None, Buttons::Ok, {}});
    lastFilters = filters;
    if (fileNames.isEmpty()) {
        unexpected.append(title);
        return {};
    }
    return fileNames.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString &title, const QList<FileFilter> &filters)
{
    shown.append({QStringLiteral("save"), title, {}, Icon::None, Buttons::Ok, {}});
    lastFilters = filters;
    if (fileNames.isEmpty()) {
        unexpected.append(title);
        return {};
    }
    return fileNames.dequeue();
}

QString ScriptedDialogs::folderName(const QString &title, const QString &initial)
{
    shown.append({QStringLiteral("folder"), title, {}, Icon::None, Buttons::Ok, initial});
    if (fileNames.isEmpty()) {
        unexpected.append(title);
        return {};
    }
    return fileNames.dequeue();
}

QVariant
ScriptedDialogs::nextValue(const QString &kind, const QString &title, const QVariant &initial)
{
    shown.append({kind, title, {}, Icon::None, Buttons::Ok, initial});
    if (values.isEmpty()) {
        unexpected.append(title);
        return {};
    }
    return values.dequeue();
}

std::optional<QFont> ScriptedDialogs::font(const QString &title, const QFont &initial)
{
    const QVariant v = nextValue(QStringLiteral("font"), title, initial);
    return v.isValid() ? std::optional<QFont>(v.value<QFont>()) : std::nullopt;
}

std::optional<QColor> ScriptedDialogs::color(const QString &title, const QColor &initial)
{
    const QVariant v = nextValue(QStringLiteral("color"), title, initial);
    return v.isValid() ? std::optional<QColor>(v.value<QColor>()) : std::nullopt;
}

std::optional<int> ScriptedDialogs::lineNumber(const QString &title, int, int)
{
    const QVariant v = nextValue(QStringLiteral("line"), title);
    return v.isValid() ? std::optional<int>(v.toInt()) : std::nullopt;
}

std::optional<QString> ScriptedDialogs::text(const QString &title, const QString &, const QString &)
{
    const QVariant v = nextValue(QStringLiteral("text"), title);
    return v.isValid() ? std::optional<QString>(v.toString()) : std::nullopt;
}

bool ScriptedDialogs::print(QPrinter &)
{
    shown.append({QStringLiteral("print"), {}, {}, Icon::None, Buttons::Ok, {}});
    return printAnswers.isEmpty() ? false : printAnswers.dequeue();
}

bool ScriptedDialogs::pageSetup(QPrinter &)
{
    shown.append({QStringLiteral("pagesetup"), {}, {}, Icon::None, Buttons::Ok, {}});
    return printAnswers.isEmpty() ? false : printAnswers.dequeue();
}

bool ScriptedDialogs::runModal(QDialog &dialog)
{
    shown.append({QStringLiteral("modal"), dialog.windowTitle(), {}, Icon::None, Buttons::Ok, {}});
    if (modalAnswers.isEmpty()) {
        unexpected.append(dialog.windowTitle());
        return false;
    }
    return modalAnswers.dequeue()(dialog);
}

bool ScriptedDialogs::openWithShell(const QUrl &url)
{
    shown.append({QStringLiteral("shell"), url.toString(), {}, Icon::None, Buttons::Ok, {}});
    openedUrls.append(url);
    return true;
}

QStringList ScriptedDialogs::messageTitles() const
{
    QStringList titles;
    for (const Shown &s : shown) {
        if (s.kind == u"message")
            titles.append(s.title);
    }
    return titles;
}

} // namespace Korveth
