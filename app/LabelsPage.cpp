#include "LabelsPage.h"

#include "ItemActivation.h"
#include "ScriptLanguage.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

enum Role { LineRole = Qt::UserRole, ColumnRole, LengthRole, PathRole };

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
    , m_filter(new QLineEdit)
    , m_labels(new QListWidget)
    , m_referencesTitle(new QLabel)
    , m_references(new QListWidget)
{
    setObjectName(QStringLiteral("labelsPage"));
    m_filter->setObjectName(QStringLiteral("labelFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter labels"));
    m_filter->setPlaceholderText(QStringLiteral("Filter labels"));
    m_filter->setClearButtonEnabled(true);
    m_labels->setObjectName(QStringLiteral("labelList"));
    m_labels->setAccessibleName(QStringLiteral("Labels"));
    m_references->setObjectName(QStringLiteral("referenceList"));
    m_references->setAccessibleName(QStringLiteral("References"));
    m_referencesTitle->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_labels, 2);
    layout->addWidget(m_referencesTitle);
    layout->addWidget(m_references, 1);
    clearReferences();
    connect(m_filter, &QLineEdit::textChanged, this, &LabelsPage::applyFilter);
    connect(m_labels, &QListWidget::itemActivated, this, &LabelsPage::choose);
    makeKeyboardList(*m_labels);
    makeKeyboardList(*m_references);
    connect(m_references, &QListWidget::itemActivated, this, &LabelsPage::choose);
}

void LabelsPage::showLabels(const QList<LabelDefinitionAt> &found)
{
    m_found = found;
    applyFilter();
}

// Only the labels the filter lets through are in the list, so that its count, as a screen reader
// says it, is what is shown.
void LabelsPage::applyFilter()
{
    const QString wanted = m_filter->text().trimmed();
    const int row = m_labels->currentRow();
    m_labels->clear();
    for (const LabelDefinitionAt &label : std::as_const(m_found)) {
        if (!label.name.contains(wanted, Qt::CaseInsensitive))
            continue;
        m_labels->addItem(
            placeItem(QStringLiteral("%1  (line %2)").arg(label.name).arg(label.line + 1),
                      label.line,
                      label.column,
                      label.name.size()));
        m_labels->item(m_labels->count() - 1)->setData(Qt::ToolTipRole, label.name);
    }
    // The place is kept for a person working in the list; a list nobody is in gets no current item,
    // so a screen reader hears nothing from it while the script is typed.
    if (m_labels->hasFocus() && row >= 0 && row < m_labels->count())
        m_labels->setCurrentRow(row);
}

void LabelsPage::showReferences(const QString &name,
                                const QList<LabelPlace> &found,
                                const QString &shown)
{
    m_references->clear();
    m_referencesTitle->setText(found.isEmpty() ? QStringLiteral("No references to %1.").arg(name)
                                               : QStringLiteral("References to %1:").arg(name));
    for (const LabelPlace &place : found) {
        const bool here = place.path.isEmpty() || place.path == shown;
        const QString where = here ? QString::number(place.line + 1)
                                   : QStringLiteral("%1:%2")
                                         .arg(QFileInfo(place.path).fileName())
                                         .arg(place.line + 1);
        QListWidgetItem *item = placeItem(QStringLiteral("%1: %2").arg(where, place.text),
                                          place.line,
                                          place.column,
                                          place.length);
        item->setData(PathRole, here ? QString() : place.path);
        item->setToolTip(here ? QString() : place.path);
        m_references->addItem(item);
    }
}

void LabelsPage::clearReferences()
{
    m_references->clear();
    m_referencesTitle->setText(QStringLiteral("References (Search, Find References)"));
}

void LabelsPage::choose(QListWidgetItem *item)
{
    Q_EMIT placeChosen(item->data(PathRole).toString(),
                       item->data(LineRole).toInt(),
                       item->data(ColumnRole).toLongLong(),
                       item->data(LengthRole).toLongLong());
}

} // namespace Korveth
