#include "EditorPropertiesDialog.h"

#include "Dialogs.h"
#include "LanguageDefinition.h"
#include "ScriptEditor.h"

#include <Qsci/qscilexer.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace Korveth {

namespace {
constexpr int styleCount = 4;
}

EditorPropertiesDialog::EditorPropertiesDialog(ScriptEditor &editor,
                                               Dialogs &dialogs,
                                               QWidget *parent)
    : QDialog(parent)
    , m_editor(editor)
    , m_dialogs(dialogs)
    , m_fontLabel(new QLabel)
    , m_tabWidth(new QSpinBox)
{
    setWindowTitle(QStringLiteral("Editor Properties"));
    QsciLexer *lexer = m_editor.lexer();
    m_font = lexer ? lexer->font(0) : m_editor.font();
    for (int style = 0; style < styleCount; ++style)
        m_colors.append(lexer ? lexer->color(style) : QColor(Qt::black));

    auto *form = new QFormLayout(this);
    auto *fontButton = new QPushButton(QStringLiteral("&Font..."));
    form->addRow(m_fontLabel, fontButton);
    showFont();
    m_tabWidth->setRange(1, 16);
    m_tabWidth->setValue(m_editor.tabWidth());
    form->addRow(QStringLiteral("&Tab width:"), m_tabWidth);
    connect(fontButton, &QPushButton::clicked, this, &EditorPropertiesDialog::chooseFont);

    const QStringList names{QStringLiteral("Text colour..."),
                            QStringLiteral("Keyword colour..."),
                            QStringLiteral("Variable colour..."),
                            QStringLiteral("Comment colour...")};
    for (int style = 0; style < styleCount; ++style) {
        auto *button = new QPushButton(names[style]);
        button->setEnabled(lexer != nullptr);
        connect(button, &QPushButton::clicked, this, [this, style] { chooseColor(style); });
        form->addRow(button);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void EditorPropertiesDialog::showFont()
{
    m_fontLabel->setText(QStringLiteral("%1, %2 pt").arg(m_font.family()).arg(m_font.pointSize()));
}

void EditorPropertiesDialog::chooseFont()
{
    if (const auto chosen = m_dialogs.font(QStringLiteral("Font"), m_font)) {
        m_font = *chosen;
        showFont();
    }
}

void EditorPropertiesDialog::chooseColor(int style)
{
    if (const auto chosen = m_dialogs.color(QStringLiteral("Colour"), m_colors[style]))
        m_colors[style] = *chosen;
}

void EditorPropertiesDialog::apply()
{
    m_editor.setTabWidth(m_tabWidth->value());
    if (QsciLexer *lexer = m_editor.lexer()) {
        for (int style = 0; style < styleCount; ++style) {
            QFont font = m_font;
            font.setBold(lexer->font(style).bold());
            font.setItalic(lexer->font(style).italic());
            lexer->setFont(font, style);
            lexer->setColor(m_colors[style], style);
        }
    } else {
        m_editor.setFont(m_font);
    }
}

} // namespace Korveth

namespace Korveth {

void EditorPropertiesDialog::showFor(ScriptEditor &editor, Dialogs &dialogs, QWidget *parent)
{
    EditorPropertiesDialog dialog(editor, dialogs, parent);
    if (dialogs.runModal(dialog))
        dialog.apply();
}

} // namespace Korveth
