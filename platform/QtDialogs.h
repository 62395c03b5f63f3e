#pragma once

#include "Dialogs.h"

#include <QPointer>

namespace Korveth {

// The real dialogs, each owned by the window that raised it (so it stands above that window and
// hands the focus back to it), or by the given parent window when none of ours is active.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void setParent(QWidget *parent) { m_parent = parent; }

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

    // The filter text for Qt's file dialogs: each caption as written, matching its pattern. On
    // systems other than Windows "*.*" would hide files without a dot, so it matches every file
    // there while the caption still reads "(*.*)" (the dialog hides the real pattern).
    static QString nameFilters(const QList<FileFilter> &filters);

private:
    QWidget *owner() const;

    QPointer<QWidget> m_parent;
    mutable QPointer<QWidget> m_lastOwner; // the window the last dialog was raised from
};

} // namespace Korveth
