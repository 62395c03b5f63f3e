#include "Announcer.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace Korveth {

namespace {

// What assistive technology sees of an announcer: a notification, named by its text, in its
// window.
class AnnouncerAccessible final : public QAccessibleObject
{
public:
    explicit AnnouncerAccessible(Announcer *announcer)
        : QAccessibleObject(announcer)
    {}
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(announcer()->window());
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? announcer()->lastText() : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true; // a screen reader passes over an object with no state at all
        return s;
    }

private:
    Announcer *announcer() const { return static_cast<Announcer *>(object()); }
};

// Containers marked by presentAsPanel.
constexpr char panelProperty[] = "korvethPanel";

QAccessibleInterface *announcerFactory(const QString &, QObject *object)
{
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new AnnouncerAccessible(announcer);
    // A tab widget's page stack is a layered pane to Qt, named before every move into a page.
    if (object && object->isWidgetType()
        && (object->property(panelProperty).toBool()
            || object->objectName() == u"qt_tabwidget_stackedwidget"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Pane);
    return nullptr;
}

void installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(announcerFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

Announcer::Announcer(QWidget *window)
    : QObject(window)
{
    setObjectName(QStringLiteral("announcer"));
    installFactory();
}

void Announcer::presentAsPanel(QWidget &container)
{
    installFactory();
    container.setProperty(panelProperty, true);
}

QWidget *Announcer::window() const
{
    return static_cast<QWidget *>(parent());
}

Announcer *Announcer::of(QWidget *window)
{
    window = window->window();
    if (auto *known = window->findChild<Announcer *>(QString(), Qt::FindDirectChildrenOnly))
        return known;
    return new Announcer(window);
}

void Announcer::announce(QWidget *where, const QString &text)
{
    if (where && !text.isEmpty())
        of(where)->say(text);
}

void Announcer::sayChoices(QComboBox &box)
{
    QObject::connect(&box, &QComboBox::currentTextChanged, &box, [&box](const QString &text) {
        if (box.hasFocus() && !box.view()->isVisible()) // an open list says its items itself
            announce(&box, text);
    });
}

void Announcer::captionUnseen(QComboBox &box, const QString &caption)
{
    box.setAccessibleName(caption);
    auto *label = new QLabel(caption, box.parentWidget());
    label->setBuddy(&box);
    label->hide();
    sayChoices(box);
}

void Announcer::say(const QString &text)
{
    m_text = text;
    Q_EMIT announced(text);
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace Korveth
