#include "QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace Korveth {

namespace {

// While a dialog is up, remembers the window and the control that raised it, and gives them the
// focus back once it is gone: a message box from the debugger returns to the debugger, not to
// whatever window the system picks.
class FocusReturn
{
public:
    FocusReturn()
        : m_window(QApplication::activeWindow())
        , m_focus(QApplication::focusWidget())
    {}
    ~FocusReturn()
    {
        if (!m_window || !m_window->isVisible())
            return;
        m_window->raise();
        m_window->activateWindow();
        if (m_focus && m_focus->window() == m_window)
            m_focus->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn &) = delete;
    FocusReturn &operator=(const FocusReturn &) = delete;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
};

} // namespace

QString QtDialogs::nameFilters(const QList<FileFilter> &filters)
{
    QStringList parts;
    for (const auto &filter : filters) {
        QString pattern = filter.pattern;
#ifndef Q_OS_WIN
        if (pattern == u"*.*")
            pattern = QStringLiteral("*");
#endif
        // The dialog matches the last parenthesised pattern and, hiding the details, shows the
        // caption before it exactly as written.
        parts.append(filter.description + QStringLiteral(" (") + pattern + u')');
    }
    return parts.join(QStringLiteral(";;"));
}

namespace {

QString chooseFile(QWidget *parent,
                   QFileDialog::AcceptMode mode,
                   const QString &title,
                   const QList<Dialogs::FileFilter> &filters)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The overwrite question is the program's own, asked after the dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QtDialogs::nameFilters(filters));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{}

QWidget *QtDialogs::owner() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    return m_parent;
}

Dialogs::Answer
QtDialogs::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    const FocusReturn focusReturn;
    QMessageBox box(owner());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtDialogs::openFileName(const QString &title, const QList<FileFilter> &filters)
{
    const FocusReturn focusReturn;
    return chooseFile(owner(), QFileDialog::AcceptOpen, title, filters);
}

QString QtDialogs::saveFileName(const QString &title, const QList<FileFilter> &filters)
{
    const FocusReturn focusReturn;
    return chooseFile(owner(), QFileDialog::AcceptSave, title, filters);
}

QString QtDialogs::folderName(const QString &title, const QString &initial)
{
    const FocusReturn focusReturn;
    return QFileDialog::getExistingDirectory(owner(), title, initial);
}

bool QtDialogs::runModal(QDialog &dialog)
{
    const FocusReturn focusReturn;
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> QtDialogs::font(const QString &title, const QFont &initial)
{
    const FocusReturn focusReturn;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, owner(), title);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

std::optional<QColor> QtDialogs::color(const QString &title, const QColor &initial)
{
    const FocusReturn focusReturn;
    const QColor chosen = QColorDialog::getColor(initial, owner(), title);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

std::optional<QString>
QtDialogs::text(const QString &title, const QString &prompt, const QString &initial)
{
    const FocusReturn focusReturn;
    bool ok = false;
    const QString answer
        = QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(answer) : std::nullopt;
}

std::optional<int> QtDialogs::lineNumber(const QString &title, int current, int maximum)
{
    const FocusReturn focusReturn;
    bool ok = false;
    const int line = QInputDialog::getInt(owner(),
                                          title,
                                          QStringLiteral("Line number (1 - %1):").arg(maximum),
                                          current,
                                          1,
                                          qMax(1, maximum),
                                          1,
                                          &ok);
    return ok ? std::optional<int>(line) : std::nullopt;
}

bool QtDialogs::print(QPrinter &printer)
{
    const FocusReturn focusReturn;
    QPrintDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::pageSetup(QPrinter &printer)
{
    const FocusReturn focusReturn;
    QPageSetupDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::openWithShell(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace Korveth
