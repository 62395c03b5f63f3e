#include "HealingGeneratorDialog.h"

#include "DesignFont.h"
#include "Dialogs.h"
#include "DocumentManager.h"
#include "ProgramPaths.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Korveth {

namespace {

const QString title = QStringLiteral("Healing Script Generator");

} // namespace

HealingGeneratorDialog::HealingGeneratorDialog(DocumentManager &documents,
                                               Dialogs &dialogs,
                                               const ProgramPaths &paths,
                                               QWidget *owner)
    : QDialog(owner)
    , m_generateButton(new QPushButton(QStringLiteral("&Generate")))
    , m_cancelButton(new QPushButton(QStringLiteral("&Cancel")))
    , m_documents(documents)
    , m_dialogs(dialogs)
    , m_paths(paths)
{
    setObjectName(QStringLiteral("frmHealingScriptGen"));
    setWindowTitle(title);
    setFont(designFont());
    const char *captions[] = {"Use 'Transfer any' (safer)",
                              "Target wounds (faster)",
                              "Heal down wounds only",
                              "Heal down wounds and hindering scars",
                              "Just take the wounds"};
    for (int i = 0; i < 5; ++i) {
        auto *check = new QRadioButton(QString::fromLatin1(captions[i]));
        check->setAutoExclusive(false);
        check->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        // The groups' rules decide the marks, not the box itself.
        connect(check, &QRadioButton::clicked, this, [this, i] { click(i + 1); });
        m_choiceBoxes[std::size_t(i)] = check;
    }
    auto *transfer = new QGroupBox(QStringLiteral("Transfering"));
    transfer->setObjectName(QStringLiteral("Frame1"));
    auto *transferLayout = new QVBoxLayout(transfer);
    transferLayout->addWidget(m_choiceBoxes[0]);
    transferLayout->addWidget(m_choiceBoxes[1]);
    auto *healDown = new QGroupBox(QStringLiteral("Heal down"));
    healDown->setObjectName(QStringLiteral("Frame2"));
    auto *healDownLayout = new QVBoxLayout(healDown);
    for (std::size_t i = 2; i < 5; ++i)
        healDownLayout->addWidget(m_choiceBoxes[i]);

    m_generateButton->setObjectName(QStringLiteral("Command1"));
    m_cancelButton->setObjectName(QStringLiteral("Command2"));
    m_generateButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_generateButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(transfer);
    layout->addWidget(healDown);
    layout->addLayout(buttons);
    connect(m_generateButton, &QPushButton::clicked, this, &HealingGeneratorDialog::generate);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showChoices();
}

void HealingGeneratorDialog::click(int box)
{
    m_choices.click(box);
    showChoices();
}

void HealingGeneratorDialog::showChoices()
{
    for (int box = 1; box <= 5; ++box)
        m_choiceBoxes[std::size_t(box - 1)]->setChecked(m_choices.checked(box));
}

std::optional<QString> HealingGeneratorDialog::readFragment(int number)
{
    const QString path = m_paths.dataFile(QStringLiteral("HSG%1.dat").arg(number));
    const ReadResult read = readTextFile(path);
    if (!read.error.isEmpty()) {
        m_dialogs.inform(title,
                         QStringLiteral("Cannot read \"%1\".\n%2").arg(path, read.error),
                         Dialogs::Icon::Warning);
        return std::nullopt;
    }
    return QString::fromUtf8(read.text.utf8);
}

void HealingGeneratorDialog::generate()
{
    const std::optional<int> healDown = m_choices.healDownFragment();
    if (!healDown) {
        m_dialogs.inform(QStringLiteral("Heal down Value not given"),
                         QStringLiteral("You must select one of the Heal down Values."),
                         Dialogs::Icon::None);
        return;
    }
    const auto transfer = readFragment(m_choices.transferFragment());
    const auto down = transfer ? readFragment(*healDown) : std::nullopt;
    if (!down)
        return;
    // Into the active script only while it is an untouched new one: nothing the user wrote is
    // replaced.
    DocumentWindow *document = m_documents.documentForNewText();
    if (!document)
        return;
    document->editor()->setWholeText(assembleHealingScript(*transfer, *down));
    accept();
}

} // namespace Korveth
