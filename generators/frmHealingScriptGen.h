#pragma once

#include "HealingGenerator.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;

namespace Korveth {

class Dialogs;
class DocumentManager;
class ProgramPaths;

// "Healing Script Generator": one way of transferring wounds, one way of healing down; Generate
// writes the two fragments into the active document as one undoable step.
class frmHealingScriptGen final : public QDialog
{
    Q_OBJECT

public:
    frmHealingScriptGen(DocumentManager &documents,
                        Dialogs &dialogs,
                        const ProgramPaths &paths,
                        QWidget *owner);

    std::array<QCheckBox *, 5> Check{}; // Check1 .. Check5
    QPushButton *Command1;              // Generate
    QPushButton *Command2;              // Cancel

    void generate();

private:
    void click(int box);
    void showChoices();
    std::optional<QString> readFragment(int number);

    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    const ProgramPaths &m_paths;
    HealingChoices m_choices;
};

} // namespace Korveth
