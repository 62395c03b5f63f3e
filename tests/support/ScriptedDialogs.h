#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>
#include <QVariant>

#include <functional>

namespace Korveth {

// A stand-in for a person at the dialogs, for tests: answers are taken in order from queues, and
// every message and dialog shown is recorded. A question with no queued answer is a test fault:
// it is recorded in unexpected and answered Cancel (or cancelled) so nothing ever blocks.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "open", "save", "font", "color", "line", "print", "pagesetup",
                      // "modal", "shell"
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QVariant initial; // what a font, colour or line dialog opened with
    };

    QQueue<Answer> answers;    // for questions (Yes/No and Yes/No/Cancel)
    QQueue<QString> fileNames; // for open, save and folder dialogs; "" cancels
    QQueue<QVariant> values;   // fonts, colours, line numbers, texts; an invalid QVariant cancels
    QQueue<bool> printAnswers; // print and page set-up dialogs
    // The program's own modal windows: each is handed to the function first (to fill it in as
    // a person would), then accepted when it returns true.
    QQueue<std::function<bool(QDialog &)>> modalAnswers;
    QList<Shown> shown;
    // Called as each message is shown, to look at the program while it asks.
    std::function<void(const Shown &)> onMessage;
    QStringList unexpected;
    QList<QUrl> openedUrls;

    Answer message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    QString openFileName(const QString &title, const QList<FileFilter> &filters) override;
    QString saveFileName(const QString &title, const QList<FileFilter> &filters) override;
    QString folderName(const QString &title, const QString &initial) override;
    std::optional<QFont> font(const QString &title, const QFont &initial) override;
    std::optional<QColor> color(const QString &title, const QColor &initial) override;
    std::optional<int> lineNumber(const QString &title, int current, int maximum) override;
    std::optional<QString>
    text(const QString &title, const QString &prompt, const QString &initial) override;
    bool print(QPrinter &printer) override;
    bool pageSetup(QPrinter &printer) override;
    bool runModal(QDialog &dialog) override;
    bool openWithShell(const QUrl &url) override;

    // The titles of every message shown so far, in order.
    QStringList messageTitles() const;
    // The filters last offered by an open or save dialog.
    QList<FileFilter> lastFilters;

private:
    QVariant nextValue(const QString &kind, const QString &title, const QVariant &initial = {});
};

} // namespace Korveth
