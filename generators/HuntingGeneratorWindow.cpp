#include "HuntingGeneratorWindow.h"

#include "WindowFront.h"

#include "ButtonClosedDialog.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "DocumentManager.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Korveth {

namespace {

QLineEdit *box(const QString &name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QLabel *note(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// Forty boxes "M1" to "M40" in four columns, filled top to bottom; each named for a screen
// reader by its path and step.
QWidget *pathGrid(std::array<QLineEdit *, 40> &boxes, const QString &name, const QString &spoken)
{
    auto *grid = new QWidget;
    auto *layout = new QGridLayout(grid);
    for (int i = 0; i < 40; ++i) {
        boxes[std::size_t(i)] = box(QStringLiteral("%1_%2").arg(name).arg(i));
        const int row = i % 10;
        const int column = (i / 10) * 2;
        auto *label = new QLabel(QStringLiteral("M%1").arg(i + 1));
        label->setBuddy(boxes[std::size_t(i)]);
        boxes[std::size_t(i)]->setAccessibleName(
            QStringLiteral("%1, move %2").arg(spoken).arg(i + 1));
        layout->addWidget(label, row, column);
        layout->addWidget(boxes[std::size_t(i)], row, column + 1);
    }
    return grid;
}

} // namespace

HuntingGeneratorWindow::HuntingGeneratorWindow(DocumentManager &documents,
                                               Dialogs &dialogs,
                                               QString templatePath,
                                               QWidget *owner)
    : QWidget(owner, ownedWindow)
    , m_pages(new QTabWidget)
    , m_scriptName(box(QStringLiteral("ScriptName")))
    , m_stance(new QComboBox)
    , m_critter1Name(box(QStringLiteral("Critter1Name")))
    , m_critter1Skin(box(QStringLiteral("Critter1Skin")))
    , m_critter2Name(box(QStringLiteral("Critter2Name")))
    , m_critter2Skin(box(QStringLiteral("Critter2Skin")))
    , m_critter3Name(box(QStringLiteral("Critter3Name")))
    , m_critter3Skin(box(QStringLiteral("Critter3Skin")))
    , m_huntingAnchor(box(QStringLiteral("HuntingAnchor")))
    , m_restPlace(box(QStringLiteral("RestPlace")))
    , m_generateButton(new QPushButton(QStringLiteral("&Generate")))
    , m_cancelButton(new QPushButton(QStringLiteral("&Cancel")))
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_templatePath(std::move(templatePath))
{
    setObjectName(QStringLiteral("frmHuntingSG"));
    setWindowTitle(QStringLiteral("Hunting Script Generator - Swinger"));
    setAttribute(Qt::WA_DeleteOnClose);
    ButtonClosedDialog::closeOnEscape(*this);
    setFont(designFont());
    m_pages->setObjectName(QStringLiteral("SSTab1"));
    m_pages->setAccessibleName(QStringLiteral("Hunting script pages"));
    m_pages->addTab(variablesTab(), QStringLiteral("Variables"));
    m_pages->addTab(pathToTab(), QStringLiteral("Path To"));
    m_pages->addTab(pathFromTab(), QStringLiteral("Path From"));
    m_generateButton->setObjectName(QStringLiteral("cmdGen"));
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_generateButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_generateButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    connect(m_generateButton, &QPushButton::clicked, this, &HuntingGeneratorWindow::generate);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

QWidget *HuntingGeneratorWindow::variablesTab()
{
    m_stance->setObjectName(QStringLiteral("Stance"));
    m_stance->setEditable(true);
    m_stance->addItems({QStringLiteral("offensive"),
                        QStringLiteral("advance"),
                        QStringLiteral("neutral"),
                        QStringLiteral("guarded"),
                        QStringLiteral("defensive")});
    m_stance->setCurrentIndex(-1);
    m_stance->setEditText(stancePrompt.toString());
    m_stance->lineEdit()->setAccessibleName(QStringLiteral("Attack Stance"));

    auto *tab = new QWidget;
    auto *form = new QFormLayout(tab);
    form->addRow(note(QStringLiteral("Only fill out the fields that apply to the Script you are "
                                     "generating.  Leave all unused fields blank.")));
    form->addRow(QStringLiteral("Script Name"), m_scriptName);
    form->addRow(QStringLiteral("Attack Stance*"), m_stance);
    form->addRow(QStringLiteral("Critter 1 Name*"), m_critter1Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), m_critter1Skin);
    form->addRow(QStringLiteral("Critter 2 Name"), m_critter2Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), m_critter2Skin);
    form->addRow(QStringLiteral("Critter 3 Name"), m_critter3Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), m_critter3Skin);
    for (int i = 0; i < 6; ++i) {
        m_startCommands[std::size_t(i)] = box(QStringLiteral("StartOp%1").arg(i + 1));
        form->addRow(QStringLiteral("Startup Cmd %1").arg(i + 1), m_startCommands[std::size_t(i)]);
    }
    form->addRow(note(QStringLiteral("* Required Fields")));
    // Three rows share a caption; a screen reader tells them apart by their creature, and reads
    // a field by its caption's name where it has one.
    const std::pair<QLineEdit *, int> skins[]
        = {{m_critter1Skin, 1}, {m_critter2Skin, 2}, {m_critter3Skin, 3}};
    for (const auto &[skin, critter] : skins) {
        const QString name = QStringLiteral("Critter %1 skin given (if applicable)").arg(critter);
        skin->setAccessibleName(name);
        form->labelForField(skin)->setAccessibleName(name);
    }
    return tab;
}

QWidget *HuntingGeneratorWindow::pathToTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    QLabel *anchor = note(QStringLiteral("Hunting Anchor Description Line (must be unique). Eg. "
                                         "[Catacombs, Start Room] *"));
    anchor->setBuddy(m_huntingAnchor);
    layout->addWidget(anchor);
    layout->addWidget(m_huntingAnchor);
    QLabel *rest = note(QStringLiteral("Restplace Description Line (must be unique). Eg. "
                                       "[Town Square, Small Park] *"));
    rest->setBuddy(m_restPlace);
    layout->addWidget(rest);
    layout->addWidget(m_restPlace);
    layout->addWidget(note(QStringLiteral("Path taken from Restplace Room to the Hunting Anchor "
                                          "Room. (leave any unused spaces blank)")));
    layout->addWidget(pathGrid(m_pathTo, QStringLiteral("MoveTo"), QStringLiteral("Path to")));
    layout->addWidget(note(QStringLiteral("* Required Fields")));
    return tab;
}

QWidget *HuntingGeneratorWindow::pathFromTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(note(QStringLiteral("Path taken to get from the Hunting Anchor Room to the "
                                          "Restplace Room. (leave any unused spaces blank)")));
    layout->addWidget(
        pathGrid(m_pathBack, QStringLiteral("MoveFrom"), QStringLiteral("Path from")));
    layout->addWidget(note(QStringLiteral("* Required Fields")));
    return tab;
}

HuntingInputs HuntingGeneratorWindow::inputs() const
{
    HuntingInputs in;
    in.scriptName = m_scriptName->text();
    in.stance = m_stance->currentText();
    in.critter1Name = m_critter1Name->text();
    in.critter1Skin = m_critter1Skin->text();
    in.critter2Name = m_critter2Name->text();
    in.critter2Skin = m_critter2Skin->text();
    in.critter3Name = m_critter3Name->text();
    in.critter3Skin = m_critter3Skin->text();
    in.huntingAnchor = m_huntingAnchor->text();
    in.restPlace = m_restPlace->text();
    for (std::size_t i = 0; i < 6; ++i)
        in.startCommands[i] = m_startCommands[i]->text();
    for (std::size_t i = 0; i < 40; ++i) {
        in.pathTo[i] = m_pathTo[i]->text();
        in.pathBack[i] = m_pathBack[i]->text();
    }
    return in;
}

void HuntingGeneratorWindow::generate()
{
    const HuntingInputs in = inputs();
    if (const auto missing = firstMissingInput(in)) {
        struct Field
        {
            QWidget *box;
            const char *name;
        };
        const Field fields[] = {{m_huntingAnchor, "Hunting Anchor Description Line"},
                                {m_restPlace, "Restplace Description Line"},
                                {m_stance, "Attack Stance"},
                                {m_critter1Name, "Critter 1 Name"}};
        const Field &field = fields[int(*missing)];
        m_dialogs.inform(QStringLiteral("Error"),
                         QStringLiteral("Required input missing, Please try again.\n\n%1 is "
                                        "empty.")
                             .arg(QLatin1StringView(field.name)),
                         Dialogs::Icon::None);
        // Where the missing input goes, ready for typing.
        for (QWidget *page = field.box; page; page = page->parentWidget()) {
            if (m_pages->indexOf(page) >= 0) {
                m_pages->setCurrentWidget(page);
                break;
            }
        }
        field.box->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The template opens as a never-saved document: its first save asks for a name.
    DocumentWindow *document = m_documents.OpenDocument(
        m_templatePath, QStringLiteral("Hunting Script"), DocumentManager::Origin::Template);
    if (!document)
        return;
    document->editor()->setWholeText(generateHuntingScript(document->editor()->crlfText(), in));
    close();
}

} // namespace Korveth
