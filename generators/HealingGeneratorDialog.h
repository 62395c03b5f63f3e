#pragma once

#include "HealingGenerator.h"

#include <QDialog>

#include <array>

class QRadioButton;
class QPushButton;

namespace Korveth {

class Dialogs;
class DocumentManager;
class ProgramPaths;

// "Healing Script Generator": one way of transferring wounds, one way of healing down; Generate
// writes the two fragments into the active document as one undoable step.
class HealingGeneratorDialog final : public QDialog
{
    Q_OBJECT

public:
    HealingGeneratorDialog(DocumentManager &documents,
                           Dialogs &dialogs,
                           const ProgramPaths &paths,
                           QWidget *owner);

    void generate();

private:
    void click(int box);
    void showChoices();
    std::optional<QString> readFragment(int number);

    // `Check1` .. `Check5`: one of each group is chosen (the heal-down group may have none), so
    // they are radio buttons to a screen reader; the groups' rules set them, not Qt's exclusivity.
    std::array<QRadioButton *, 5> m_choiceBoxes{};
    QPushButton *m_generateButton; // `Command1`
    QPushButton *m_cancelButton;   // `Command2`
    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    const ProgramPaths &m_paths;
    HealingChoices m_choices;
};

} // namespace Korveth
