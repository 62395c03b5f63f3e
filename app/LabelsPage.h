#pragma once

#include "ScriptModel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace Korveth {

// The side pane's "Labels" page: the active script's labels in order, narrowed by a filter, and
// below them the references a Find References listed. A double-click goes there.
class LabelsPage final : public QWidget
{
    Q_OBJECT

public:
    explicit LabelsPage(QWidget *parent = nullptr);

    QLineEdit *filter;
    QListWidget *labels;
    QLabel *referencesTitle;
    QListWidget *references;

    void showLabels(const QList<LabelDefinitionAt> &found);
    // The references to a label, each with its line's text.
    void
    showReferences(const QString &name, const QList<Diagnostic> &found, const ScriptModel &model);
    void clearReferences();

Q_SIGNALS:
    void placeChosen(int line, qsizetype column, qsizetype length);

private:
    void applyFilter();
    void choose(QListWidgetItem *item);
};

} // namespace Korveth
