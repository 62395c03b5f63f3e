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
class HuntingGeneratorWindow final : public QWidget
{
    Q_OBJECT

public:
    HuntingGeneratorWindow(DocumentManager &documents,
                           Dialogs &dialogs,
                           QString templatePath,
                           QWidget *owner);

    HuntingInputs inputs() const;
    // Validates, opens the template and fills it in; the window closes when a script was made.
    void generate();

private:
    QWidget *variablesTab();
    QWidget *pathToTab();
    QWidget *pathFromTab();

    QTabWidget *m_pages;
    QLineEdit *m_scriptName;
    QComboBox *m_stance;
    QLineEdit *m_critter1Name;
    QLineEdit *m_critter1Skin;
    QLineEdit *m_critter2Name;
    QLineEdit *m_critter2Skin;
    QLineEdit *m_critter3Name;
    QLineEdit *m_critter3Skin;
    std::array<QLineEdit *, 6> m_startCommands{};
    QLineEdit *m_huntingAnchor;
    QLineEdit *m_restPlace;
    std::array<QLineEdit *, 40> m_pathTo{};
    std::array<QLineEdit *, 40> m_pathBack{};
    QPushButton *m_generateButton;
    QPushButton *m_cancelButton;
    DocumentManager &m_documents;
    Dialogs &m_dialogs;
    QString m_templatePath;
};

} // namespace Korveth
