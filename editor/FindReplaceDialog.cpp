#include "FindReplaceDialog.h"

#include "EditorSearch.h"
#include "ScriptEditor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Korveth {

FindReplaceDialog::FindReplaceDialog(SearchSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_find(new QLineEdit)
    , m_replace(new QLineEdit)
    , m_replaceLabel(new QLabel(QStringLiteral("Replace &with:")))
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case")))
    , m_wholeWord(new QCheckBox(QStringLiteral("Whole wor&d")))
    , m_replaceButton(new QPushButton(QStringLiteral("&Replace")))
    , m_replaceAllButton(new QPushButton(QStringLiteral("Replace &All")))
    , m_status(new QLabel)
{
    setModal(false);
    auto *findLabel = new QLabel(QStringLiteral("F&ind what:"));
    findLabel->setBuddy(m_find);
    m_replaceLabel->setBuddy(m_replace);

    auto *findNext = new QPushButton(QStringLiteral("Find &Next"));
    auto *findPrevious = new QPushButton(QStringLiteral("Find &Previous"));
    auto *close = new QPushButton(QStringLiteral("Close"));
    findNext->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_find, 0, 1);
    grid->addWidget(m_replaceLabel, 1, 0);
    grid->addWidget(m_replace, 1, 1);
    grid->addWidget(m_matchCase, 2, 0, 1, 2);
    grid->addWidget(m_wholeWord, 3, 0, 1, 2);
    grid->addWidget(m_status, 4, 0, 1, 2);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {findNext, findPrevious, m_replaceButton, m_replaceAllButton, close})
        buttons->addWidget(button);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    connect(findNext, &QPushButton::clicked, this, [this] { find(true); });
    connect(findPrevious, &QPushButton::clicked, this, [this] { find(false); });
    connect(m_replaceButton, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindReplaceDialog::replaceEverything);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void FindReplaceDialog::showFor(bool replace)
{
    const SearchSettings &settings = m_settings;
    const QString selected = m_editor ? m_editor->selectedText() : QString();
    m_find->setText(!selected.isEmpty() && !selected.contains(u'\n') ? selected : settings.text);
    m_replace->setText(settings.replacement);
    m_matchCase->setChecked(settings.matchCase);
    m_wholeWord->setChecked(settings.wholeWord);
    for (QWidget *w : {static_cast<QWidget *>(m_replace),
                       static_cast<QWidget *>(m_replaceLabel),
                       static_cast<QWidget *>(m_replaceButton),
                       static_cast<QWidget *>(m_replaceAllButton)})
        w->setVisible(replace);
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    m_status->clear();
    show();
    raise();
    activateWindow();
    m_find->selectAll();
    m_find->setFocus();
}

QString FindReplaceDialog::status() const
{
    return m_status->text();
}

bool FindReplaceDialog::haveEditor()
{
    if (m_editor)
        return true;
    m_status->setText(QStringLiteral("No script is open."));
    return false;
}

void FindReplaceDialog::storeSettings()
{
    SearchSettings &settings = m_settings;
    settings.text = m_find->text();
    settings.replacement = m_replace->text();
    settings.matchCase = m_matchCase->isChecked();
    settings.wholeWord = m_wholeWord->isChecked();
}

void FindReplaceDialog::find(bool forward)
{
    storeSettings();
    if (!haveEditor())
        return;
    const bool found = EditorSearch::findText(*m_editor, m_settings, forward);
    m_status->setText(found ? QString()
                            : QStringLiteral("\"%1\" was not found.").arg(m_find->text()));
}

void FindReplaceDialog::replaceOne()
{
    storeSettings();
    if (!haveEditor())
        return;
    const bool found = EditorSearch::replaceSelection(*m_editor, m_settings);
    m_status->setText(found ? QString() : QStringLiteral("No more occurrences."));
}

void FindReplaceDialog::replaceEverything()
{
    storeSettings();
    if (!haveEditor())
        return;
    const int count = EditorSearch::replaceAll(*m_editor, m_settings);
    m_status->setText(QStringLiteral("%1 occurrence(s) replaced.").arg(count));
}

} // namespace Korveth
