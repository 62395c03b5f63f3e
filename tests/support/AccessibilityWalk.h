#pragma once

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

// What a screen reader would find missing in a window: controls that take the focus but say no
// name, and labels standing beside a field without naming it (no buddy). Every page of the
// window's tab controls is walked.
namespace AccessibilityWalk {

inline QString describe(const QWidget *widget)
{
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(widget->metaObject()->className()),
                                       widget->objectName());
}

inline void walkShown(QWidget *window, QStringList &missing)
{
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || !widget->isEnabled())
            continue;
        // A widget that hands its focus to another (a spin box's text field) is heard as that one.
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
            if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                missing << QStringLiteral("no name: ") + describe(widget);
        }
    }
}

// Every problem found, one line each; empty when a screen reader has all it needs.
inline QStringList problems(QWidget *window)
{
    QStringList missing;
    walkShown(window, missing);
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            walkShown(tabs->widget(page), missing);
        }
        tabs->setCurrentIndex(shown);
    }
    missing.removeDuplicates();
    return missing;
}

// The controls of the shown page that Tab never reaches, going round from the window's focus.
inline QStringList unreachedByTab(QWidget *window)
{
    QSet<QWidget *> wanted;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)
            && !widget->focusProxy())
            wanted.insert(widget);
    }
    const qsizetype presses = 2 * wanted.size() + 2;
    for (qsizetype press = 0; press < presses && !wanted.isEmpty(); ++press) {
        QWidget *focus = QApplication::focusWidget();
        wanted.remove(focus);
        QTest::keyClick(focus ? focus : window, Qt::Key_Tab);
    }
    QStringList unreached;
    for (const QWidget *widget : std::as_const(wanted))
        unreached << QStringLiteral("not reached by Tab: ") + describe(widget);
    return unreached;
}

} // namespace AccessibilityWalk
