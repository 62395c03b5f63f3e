#pragma once

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStringList>
#include <QTabBar>
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

// The access key of a caption ("&Find" is F), or none.
inline QChar accessKeyOf(const QString &caption)
{
    for (qsizetype i = caption.indexOf(u'&'); i >= 0 && i + 1 < caption.size();
         i = caption.indexOf(u'&', i + 2)) {
        if (caption[i + 1] != u'&')
            return caption[i + 1].toUpper();
    }
    return {};
}

// Access keys two shown controls of a window share (buttons, captions, tabs, group titles), and
// two items of one menu: Alt and the key would reach only the first.
// A menu named in allowed may share keys: its captions are fixed by design, and Qt moves between
// the items of one key.
inline QStringList accessKeyClashes(QWidget *window, const QStringList &allowed = {})
{
    QStringList clashes;
    auto check = [&](const QString &where, const QStringList &captions) {
        QHash<QChar, QString> seen;
        for (const QString &caption : captions) {
            const QChar key = accessKeyOf(caption);
            if (key.isNull())
                continue;
            if (seen.contains(key))
                clashes << QStringLiteral("%1: \"%2\" and \"%3\"").arg(where, seen[key], caption);
            else
                seen.insert(key, caption);
        }
    };
    QStringList captions;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (!child->isVisibleTo(window) || child->window() != window)
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(child))
            captions << button->text();
        else if (auto *label = qobject_cast<QLabel *>(child); label && label->buddy())
            captions << label->text();
        else if (auto *group = qobject_cast<QGroupBox *>(child))
            captions << group->title();
        else if (auto *tabs = qobject_cast<QTabBar *>(child)) {
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
        } else if (auto *bar = qobject_cast<QMenuBar *>(child)) {
            QStringList menus;
            for (QAction *menu : bar->actions()) {
                menus << menu->text();
                if (!menu->menu())
                    continue;
                QStringList items;
                for (QAction *item : menu->menu()->actions())
                    items << item->text();
                if (!allowed.contains(menu->text()))
                    check(menu->text(), items);
            }
            check(QStringLiteral("menu bar"), menus);
        }
    }
    check(window->windowTitle(), captions);
    return clashes;
}

} // namespace AccessibilityWalk
