#include "LabelsPage.h"

#include "ItemActivation.h"
#include "ScriptLanguage.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

enum Role { LineRole = Qt::UserRole, ColumnRole, LengthRole };

QListWidgetItem *placeItem(const QString &text, int line, qsizetype column, qsizetype length)
{
    auto *item = new QListWidgetItem(text);
    item->setData(LineRole, line);
    item->setData(ColumnRole, qlonglong(column));
    item->setData(LengthRole, qlonglong(length));
    return item;
}

} // namespace

LabelsPage::LabelsPage(QWidget *parent)
    : QWidget(parent)
    , filter(new QLineEdit)
    , labels(new QListWidget)
    , referencesTitle(new QLabel)
    , references(new QListWidget)
{
    setObjectName(QStringLiteral("labelsPage"));
    filter->setObjectName(QStringLiteral("labelFilter"));
    filter->setAccessibleName(QStringLiteral("Filter labels"));
    filter->setPlaceholderText(QStringLiteral("Filter labels"));
    filter->setClearButtonEnabled(true);
    labels->setObjectName(QStringLiteral("labelList"));
    labels->setAccessibleName(QStringLiteral("Labels"));
    references->setObjectName(QStringLiteral("referenceList"));
    references->setAccessibleName(QStringLiteral("References"));
    referencesTitle->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(filter);
    layout->addWidget(labels, 2);
    layout->addWidget(referencesTitle);
    layout->addWidget(references, 1);
    clearReferences();
    connect(filter, &QLineEdit::textChanged, this, &LabelsPage::applyFilter);
    connect(labels, &QListWidget::itemActivated, this, &LabelsPage::choose);
    activateOnSpace(*labels);
    activateOnSpace(*references);
    connect(references, &QListWidget::itemActivated, this, &LabelsPage::choose);
}

void LabelsPage::showLabels(const QList<LabelDefinitionAt> &found)
{
    const int row = labels->currentRow();
    labels->clear();
    for (const LabelDefinitionAt &label : found) {
        labels->addItem(
            placeItem(QStringLiteral("%1  (line %2)").arg(label.name).arg(label.line + 1),
                      label.line,
                      label.column,
                      label.name.size()));
        labels->item(labels->count() - 1)->setData(Qt::ToolTipRole, label.name);
    }
    // The place is kept for a person working in the list; a list nobody is in gets no current item,
    // so a screen reader hears nothing from it while the script is typed.
    if (labels->hasFocus() && row >= 0 && row < labels->count())
        labels->setCurrentRow(row);
    applyFilter();
}

void LabelsPage::showReferences(const QString &name,
                                const QList<Diagnostic> &found,
                                const ScriptModel &model)
{
    references->clear();
    referencesTitle->setText(found.isEmpty() ? QStringLiteral("No references to %1.").arg(name)
                                             : QStringLiteral("References to %1:").arg(name));
    for (const Diagnostic &reference : found) {
        const QString text = trimmedView(model.lineText(reference.line)).toString();
        references->addItem(placeItem(QStringLiteral("%1: %2").arg(reference.line + 1).arg(text),
                                      reference.line,
                                      reference.column,
                                      reference.length));
    }
}

void LabelsPage::clearReferences()
{
    references->clear();
    referencesTitle->setText(QStringLiteral("References (Search, Find References)"));
}

void LabelsPage::applyFilter()
{
    const QString wanted = filter->text().trimmed();
    for (int i = 0; i < labels->count(); ++i) {
        QListWidgetItem *item = labels->item(i);
        item->setHidden(
            !item->data(Qt::ToolTipRole).toString().contains(wanted, Qt::CaseInsensitive));
    }
}

void LabelsPage::choose(QListWidgetItem *item)
{
    Q_EMIT placeChosen(item->data(LineRole).toInt(),
                       item->data(ColumnRole).toLongLong(),
                       item->data(LengthRole).toLongLong());
}

} // namespace Korveth
