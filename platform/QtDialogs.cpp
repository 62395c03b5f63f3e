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

// While a dialog is up, remembers the window that raised it and the control that had the focus
// there, and gives them the focus back once it is gone: a message box from the debugger returns
// to the debugger, not to whatever window the system picks.
class FocusReturn
{
public:
    explicit FocusReturn(QWidget *window)
        : m_window(window)
        , m_focus(window ? window->focusWidget() : nullptr)
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
        return m_lastOwner = active;
    // Right after one dialog closes, the system has not yet given the focus back to the window
    // that raised it: a second dialog asked at once (a refused colour's message) belongs there.
    if (m_lastOwner && m_lastOwner->isVisible())
        return m_lastOwner;
    return m_parent;
}

Dialogs::Answer
QtDialogs::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    QMessageBox box(parent);
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
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    return chooseFile(parent, QFileDialog::AcceptOpen, title, filters);
}

QString QtDialogs::saveFileName(const QString &title, const QList<FileFilter> &filters)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    return chooseFile(parent, QFileDialog::AcceptSave, title, filters);
}

QString QtDialogs::folderName(const QString &title, const QString &initial)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    return QFileDialog::getExistingDirectory(parent, title, initial);
}

bool QtDialogs::runModal(QDialog &dialog)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> QtDialogs::font(const QString &title, const QFont &initial)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent, title);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

std::optional<QColor> QtDialogs::color(const QString &title, const QColor &initial)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

std::optional<QString>
QtDialogs::text(const QString &title, const QString &prompt, const QString &initial)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    bool ok = false;
    const QString answer
        = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(answer) : std::nullopt;
}

std::optional<int> QtDialogs::lineNumber(const QString &title, int current, int maximum)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    bool ok = false;
    const int line = QInputDialog::getInt(parent,
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
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::pageSetup(QPrinter &printer)
{
    QWidget *const parent = owner();
    const FocusReturn focusReturn(parent);
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::openWithShell(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace Korveth
