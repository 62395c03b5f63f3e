#pragma once

#include "HuntingGenerator.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;
class QTabWidget;
class QPushButton;

namespace Korveth {

class Dialogs;
class DocumentManager;

// "Hunting Script Generator - Swinger": the hunt described in three tabs; Generate opens the
// template as a new, never-saved "Hunting Script" and fills it in. Modeless; gone once closed.
class frmHuntingSG final : public QWidget
{
    Q_OBJECT

public:
    frmHuntingSG(DocumentManager &documents,
                 Dialogs &dialogs,
                 QString templatePath,
                 QWidget *owner);

    QTabWidget *SSTab1;
    QLineEdit *ScriptName;
    QComboBox *Stance;
    QLineEdit *Critter1Name;
    QLineEdit *Critter1Skin;
    QLineEdit *Critter2Name;
    QLineEdit *Critter2Skin;
    QLineEdit *Critter3Name;
    QLineEdit *Critter3Skin;
    std::array<QLineEdit *, 6> StartOp{};
    QLineEdit *HuntingAnchor;
    QLineEdit *RestPlace;
    std::array<QLineEdit *, 40> MoveTo{};
    std::array<QLineEdit *, 40> MoveFrom{};
    QPushButton *cmdGen;
    QPushButton *cmdCancel;

    HuntingInputs inputs() const;
    // Validates, opens the template and fills it in; the window closes when a script was made.
    void generate();

private:
    QWidget *variablesTab();
    QWidget *pathToTab();
    QWidget *pathFromTab();

    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    QString m_templatePath;
};

} // namespace Korveth
