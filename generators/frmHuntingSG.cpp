#include "frmHuntingSG.h"

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

frmHuntingSG::frmHuntingSG(DocumentManager &documents,
                           Dialogs &dialogs,
                           QString templatePath,
                           QWidget *owner)
    : QWidget(owner, Qt::Window)
    , SSTab1(new QTabWidget)
    , ScriptName(box(QStringLiteral("ScriptName")))
    , Stance(new QComboBox)
    , Critter1Name(box(QStringLiteral("Critter1Name")))
    , Critter1Skin(box(QStringLiteral("Critter1Skin")))
    , Critter2Name(box(QStringLiteral("Critter2Name")))
    , Critter2Skin(box(QStringLiteral("Critter2Skin")))
    , Critter3Name(box(QStringLiteral("Critter3Name")))
    , Critter3Skin(box(QStringLiteral("Critter3Skin")))
    , HuntingAnchor(box(QStringLiteral("HuntingAnchor")))
    , RestPlace(box(QStringLiteral("RestPlace")))
    , cmdGen(new QPushButton(QStringLiteral("&Generate")))
    , cmdCancel(new QPushButton(QStringLiteral("&Cancel")))
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_templatePath(std::move(templatePath))
{
    setObjectName(QStringLiteral("frmHuntingSG"));
    setWindowTitle(QStringLiteral("Hunting Script Generator - Swinger"));
    setAttribute(Qt::WA_DeleteOnClose);
    ButtonClosedDialog::closeOnEscape(*this);
    setFont(designFont());
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setAccessibleName(QStringLiteral("Hunting script pages"));
    SSTab1->addTab(variablesTab(), QStringLiteral("Variables"));
    SSTab1->addTab(pathToTab(), QStringLiteral("Path To"));
    SSTab1->addTab(pathFromTab(), QStringLiteral("Path From"));
    cmdGen->setObjectName(QStringLiteral("cmdGen"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdGen->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdGen);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    connect(cmdGen, &QPushButton::clicked, this, &frmHuntingSG::generate);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

QWidget *frmHuntingSG::variablesTab()
{
    Stance->setObjectName(QStringLiteral("Stance"));
    Stance->setEditable(true);
    Stance->addItems({QStringLiteral("offensive"),
                      QStringLiteral("advance"),
                      QStringLiteral("neutral"),
                      QStringLiteral("guarded"),
                      QStringLiteral("defensive")});
    Stance->setCurrentIndex(-1);
    Stance->setEditText(stancePrompt.toString());
    Stance->lineEdit()->setAccessibleName(QStringLiteral("Attack Stance"));
    // Three rows share a caption; a screen reader tells them apart by their creature.
    const std::pair<QLineEdit *, int> skins[]
        = {{Critter1Skin, 1}, {Critter2Skin, 2}, {Critter3Skin, 3}};
    for (const auto &[skin, critter] : skins)
        skin->setAccessibleName(
            QStringLiteral("Critter %1 skin given (if applicable)").arg(critter));

    auto *tab = new QWidget;
    auto *form = new QFormLayout(tab);
    form->addRow(note(QStringLiteral("Only fill out the fields that apply to the Script you are "
                                     "generating.  Leave all unused fields blank.")));
    form->addRow(QStringLiteral("Script Name"), ScriptName);
    form->addRow(QStringLiteral("Attack Stance*"), Stance);
    form->addRow(QStringLiteral("Critter 1 Name*"), Critter1Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), Critter1Skin);
    form->addRow(QStringLiteral("Critter 2 Name"), Critter2Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), Critter2Skin);
    form->addRow(QStringLiteral("Critter 3 Name"), Critter3Name);
    form->addRow(QStringLiteral("Skin given (If applicable)"), Critter3Skin);
    for (int i = 0; i < 6; ++i) {
        StartOp[std::size_t(i)] = box(QStringLiteral("StartOp%1").arg(i + 1));
        form->addRow(QStringLiteral("Startup Cmd %1").arg(i + 1), StartOp[std::size_t(i)]);
    }
    form->addRow(note(QStringLiteral("* Required Fields")));
    return tab;
}

QWidget *frmHuntingSG::pathToTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    QLabel *anchor = note(QStringLiteral("Hunting Anchor Description Line (must be unique). Eg. "
                                         "[Catacombs, Start Room] *"));
    anchor->setBuddy(HuntingAnchor);
    layout->addWidget(anchor);
    layout->addWidget(HuntingAnchor);
    QLabel *rest = note(QStringLiteral("Restplace Description Line (must be unique). Eg. "
                                       "[Town Square, Small Park] *"));
    rest->setBuddy(RestPlace);
    layout->addWidget(rest);
    layout->addWidget(RestPlace);
    layout->addWidget(note(QStringLiteral("Path taken from Restplace Room to the Hunting Anchor "
                                          "Room. (leave any unused spaces blank)")));
    layout->addWidget(pathGrid(MoveTo, QStringLiteral("MoveTo"), QStringLiteral("Path to")));
    layout->addWidget(note(QStringLiteral("* Required Fields")));
    return tab;
}

QWidget *frmHuntingSG::pathFromTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(note(QStringLiteral("Path taken to get from the Hunting Anchor Room to the "
                                          "Restplace Room. (leave any unused spaces blank)")));
    layout->addWidget(pathGrid(MoveFrom, QStringLiteral("MoveFrom"), QStringLiteral("Path from")));
    layout->addWidget(note(QStringLiteral("* Required Fields")));
    return tab;
}

HuntingInputs frmHuntingSG::inputs() const
{
    HuntingInputs in;
    in.ScriptName = ScriptName->text();
    in.Stance = Stance->currentText();
    in.Critter1Name = Critter1Name->text();
    in.Critter1Skin = Critter1Skin->text();
    in.Critter2Name = Critter2Name->text();
    in.Critter2Skin = Critter2Skin->text();
    in.Critter3Name = Critter3Name->text();
    in.Critter3Skin = Critter3Skin->text();
    in.HuntingAnchor = HuntingAnchor->text();
    in.RestPlace = RestPlace->text();
    for (std::size_t i = 0; i < 6; ++i)
        in.StartOp[i] = StartOp[i]->text();
    for (std::size_t i = 0; i < 40; ++i) {
        in.MoveTo[i] = MoveTo[i]->text();
        in.MoveFrom[i] = MoveFrom[i]->text();
    }
    return in;
}

void frmHuntingSG::generate()
{
    const HuntingInputs in = inputs();
    if (const auto missing = firstMissingInput(in)) {
        struct Field
        {
            QWidget *box;
            const char *name;
        };
        const Field fields[] = {{HuntingAnchor, "Hunting Anchor Description Line"},
                                {RestPlace, "Restplace Description Line"},
                                {Stance, "Attack Stance"},
                                {Critter1Name, "Critter 1 Name"}};
        const Field &field = fields[int(*missing)];
        m_dialogs.inform(QStringLiteral("Error"),
                         QStringLiteral("Required input missing, Please try again.\n\n%1 is "
                                        "empty.")
                             .arg(QLatin1StringView(field.name)),
                         Dialogs::Icon::None);
        // Where the missing input goes, ready for typing.
        for (QWidget *page = field.box; page; page = page->parentWidget()) {
            if (SSTab1->indexOf(page) >= 0) {
                SSTab1->setCurrentWidget(page);
                break;
            }
        }
        field.box->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The template opens as a never-saved document: its first save asks for a name.
    frmDoc *document = m_documents.OpenDocument(
        m_templatePath, QStringLiteral("Hunting Script"), DocumentManager::Origin::Template);
    if (!document)
        return;
    document->editor()->SetText(generateHuntingScript(document->editor()->Text(), in));
    close();
}

} // namespace Korveth
