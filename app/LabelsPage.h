#pragma once

#include "LibraryReferences.h"
#include "ScriptModel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QListWidgetItem;

namespace Korveth {

class LabelListModel;

// The side pane's "Labels" page: the active script's labels in order, narrowed by a filter, and
// below them the references a Find References listed. A double-click goes there.
class LabelsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit LabelsPage(QWidget *parent = nullptr);

    QLineEdit *filterBox() const { return m_filter; }
    QListView *labelList() const { return m_labels; }
    QListWidget *referenceList() const { return m_references; }

    // Called after every check: labels that stayed as they were cost nothing.
    void showLabels(const LabelList &found);
    // The references to a label, each with its line's text; those in another script than the one
    // shown (its path given) with that script's name.
    void showReferences(const QString &name, const QList<LabelPlace> &found, const QString &shown);
    void clearReferences();

Q_SIGNALS:
    // A place in the script shown (an empty path) or in another.
    void placeChosen(const QString &path, int line, qsizetype column, qsizetype length);
    // The page came into view: its labels are brought up to date only while it is seen.
    void shown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyFilter(const LabelList &found);
    void choose(QListWidgetItem *item);
    void chooseLabel(const QModelIndex &index);

    QLineEdit *m_filter;
    LabelListModel *m_model;
    QListView *m_labels;
    QLabel *m_referencesTitle;
    QListWidget *m_references;
};

} // namespace Korveth
