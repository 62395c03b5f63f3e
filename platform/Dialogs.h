#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace Korveth {

// Everything that asks the user or hands work to the desktop goes through this one interface, so
// that tests can answer in place of a person. QtDialogs shows the real thing; ScriptedDialogs
// answers from a script and records what was shown.
class Dialogs
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    struct FileFilter
    {
        QString description; // "Script Files (*.cmd)"
        QString pattern;     // "*.cmd"
    };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons)
        = 0;

    // The chosen path, or an empty string when cancelled.
    virtual QString openFileName(const QString &title, const QList<FileFilter> &filters) = 0;
    virtual QString saveFileName(const QString &title, const QList<FileFilter> &filters) = 0;
    // A folder, starting from the one given; empty when cancelled.
    virtual QString folderName(const QString &title, const QString &initial) = 0;

    virtual std::optional<QFont> font(const QString &title, const QFont &initial) = 0;
    virtual std::optional<QColor> color(const QString &title, const QColor &initial) = 0;

    // A line number from 1 to maximum, or nothing when cancelled.
    virtual std::optional<int> lineNumber(const QString &title, int current, int maximum) = 0;

    // A line of text, starting from the given one, or nothing when cancelled.
    virtual std::optional<QString>
    text(const QString &title, const QString &prompt, const QString &initial) = 0;

    // True when the user confirmed; the printer then holds the choices.
    virtual bool print(QPrinter &printer) = 0;
    virtual bool pageSetup(QPrinter &printer) = 0;

    // Shows one of the program's own modal windows; true when it was accepted.
    virtual bool runModal(QDialog &dialog) = 0;

    // Opens a web address or file with the desktop's default action.
    virtual bool openWithShell(const QUrl &url) = 0;

    // Shorthand for a notice with an OK button.
    void inform(const QString &title, const QString &text, Icon icon = Icon::Information)
    {
        message(title, text, icon, Buttons::Ok);
    }
};

} // namespace Korveth
