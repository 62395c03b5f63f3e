#include "LabelsPage.h"

#include "ItemActivation.h"
#include "ScriptLanguage.h"

#include <QAbstractListModel>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <ranges>

namespace Korveth {

// The labels the filter lets through, each row's text made only when the view asks for it. A
// script of 250,000 lines has thousands of labels and is checked again each time typing rests, so
// the list must not cost an item per label per check.
class LabelListModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    // Only the labels whose names hold the wanted text, letter case ignored.
    void show(const LabelList &found, const QString &wanted)
    {
        if (found == m_found && wanted == m_wanted)
            return;
        // With no filter every label is a row, and the rows are not listed: 80,000 of them took
        // more than the labels' own places.
        std::vector<int> rows;
        if (!wanted.isEmpty()) {
            for (int i = 0; i < found.size(); ++i)
                if (found.name(i).contains(wanted, Qt::CaseInsensitive))
                    rows.push_back(i);
        }
        const qsizetype count = wanted.isEmpty() ? found.size() : qsizetype(rows.size());
        const bool sameNames
            = count == rowCount()
              && std::ranges::all_of(std::views::iota(qsizetype(0), count), [&](qsizetype row) {
                     return found.name(labelOf(wanted, rows, row))
                            == m_found.name(labelOf(m_wanted, m_rows, row));
                 });
        if (sameNames) {
            // Lines moved under the same labels: the rows stay, and with them the place in the
            // list.
            m_found = found;
            m_wanted = wanted;
            m_rows = std::move(rows);
            if (count > 0)
                Q_EMIT dataChanged(index(0), index(rowCount() - 1));
            return;
        }
        beginResetModel();
        m_found = found;
        m_wanted = wanted;
        m_rows = std::move(rows);
        endResetModel();
    }

    LabelDefinitionAt label(int row) const { return m_found.at(labelOf(m_wanted, m_rows, row)); }
    const LabelList &all() const { return m_found; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (parent.isValid())
            return 0;
        return int(m_wanted.isEmpty() ? m_found.size() : qsizetype(m_rows.size()));
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const LabelDefinitionAt at = label(index.row());
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return QStringLiteral("%1  (line %2)").arg(at.name).arg(at.line + 1);
        case Qt::ToolTipRole:
            return at.name;
        default:
            return {};
        }
    }

private:
    static qsizetype labelOf(const QString &wanted, const std::vector<int> &rows, qsizetype row)
    {
        return wanted.isEmpty() ? row : rows[std::size_t(row)];
    }

    LabelList m_found; // every label, the filter aside
    QString m_wanted;
    std::vector<int> m_rows; // the labels the filter lets through; none listed with no filter
};

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
    , m_model(new LabelListModel(this))
    , m_labels(new QListView)
    , m_referencesTitle(new QLabel)
    , m_references(new QListWidget)
{
    setObjectName(QStringLiteral("labelsPage"));
    m_filter->setObjectName(QStringLiteral("labelFilter"));
    m_filter->setAccessibleName(QStringLiteral("Filter labels"));
    m_filter->setPlaceholderText(QStringLiteral("Filter labels"));
    m_filter->setClearButtonEnabled(true);
    m_labels->setObjectName(QStringLiteral("labelList"));
    m_labels->setModel(m_model);
    m_labels->setUniformItemSizes(true);
    m_labels->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(m_filter, &QLineEdit::textChanged, this, [this] { applyFilter(m_model->all()); });
    connect(m_labels, &QListView::activated, this, &LabelsPage::chooseLabel);
    makeKeyboardList(*m_labels);
    makeKeyboardList(*m_references);
    connect(m_references, &QListWidget::itemActivated, this, &LabelsPage::choose);
}

void LabelsPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Q_EMIT shown();
}

void LabelsPage::showLabels(const LabelList &found)
{
    applyFilter(found);
}

// Only the labels the filter lets through are in the list, so that its count, as a screen reader
// says it, is what is shown.
void LabelsPage::applyFilter(const LabelList &found)
{
    const int row = m_labels->currentIndex().row();
    m_model->show(found, m_filter->text().trimmed());
    // The place is kept for a person working in the list; a list nobody is in gets no current item,
    // so a screen reader hears nothing from it while the script is typed.
    if (m_labels->hasFocus() && row >= 0 && row < m_model->rowCount()
        && m_labels->currentIndex().row() != row)
        m_labels->setCurrentIndex(m_model->index(row));
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

void LabelsPage::chooseLabel(const QModelIndex &index)
{
    const LabelDefinitionAt label = m_model->label(index.row());
    Q_EMIT placeChosen({}, label.line, label.column, label.name.size());
}

void LabelsPage::choose(QListWidgetItem *item)
{
    Q_EMIT placeChosen(item->data(PathRole).toString(),
                       item->data(LineRole).toInt(),
                       item->data(ColumnRole).toLongLong(),
                       item->data(LengthRole).toLongLong());
}

} // namespace Korveth
