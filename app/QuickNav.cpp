#include "QuickNav.h"

#include "ItemActivation.h"
#include "ScriptFiles.h"
#include "TextFile.h"

#include <QStyle>

namespace Korveth {

QuickNav::QuickNav(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tagsd"));
    setAccessibleName(QStringLiteral("Commands"));
    setAccessibleDescription(QStringLiteral("Enter or Space types the command at the caret."));
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    // Enter and Space choose an entry as a double-click does.
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        Q_EMIT entryChosen(item->text(0));
    });
    makeKeyboardList(*this);
}

void QuickNav::fill(const QString &path)
{
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty())
        return;
    const QIcon picture = style()->standardIcon(QStyle::SP_ArrowRight);
    const QString text = QString::fromUtf8(read.text.utf8);
    for (const QString &entry : parseQuickNavEntries(text))
        (new QTreeWidgetItem(this, {entry}))->setIcon(0, picture);
}

QStringList QuickNav::entries() const
{
    QStringList texts;
    for (int i = 0; i < topLevelItemCount(); ++i)
        texts << topLevelItem(i)->text(0);
    return texts;
}

} // namespace Korveth
