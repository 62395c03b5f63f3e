#include "OptionsWindow.h"

#include "WindowFront.h"

#include "ButtonClosedDialog.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "EditorAppearance.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Korveth {

namespace {

QLabel *colourBox(const char *name)
{
    auto *box = new QLabel;
    box->setObjectName(QLatin1StringView(name));
    box->setFixedSize(40, 20);
    box->setFrameShape(QFrame::Box);
    box->setAutoFillBackground(true);
    return box;
}

// Three labelled colour boxes; with buttons, a keyboard's way to change each.
QGroupBox *colourFrame(const char *name,
                       const QString &title,
                       QLabel **boxes,
                       const char *const *labels,
                       QPushButton *const *buttons = nullptr)
{
    auto *frame = new QGroupBox(title);
    frame->setObjectName(QLatin1StringView(name));
    auto *grid = new QGridLayout(frame);
    for (int i = 0; i < 3; ++i) {
        const QString label = QString::fromLatin1(labels[i]);
        grid->addWidget(new QLabel(label), i, 0);
        boxes[i]->setAccessibleName(title + u' ' + label);
        grid->addWidget(boxes[i], i, 1);
        if (buttons) {
            buttons[i]->setAccessibleName(QStringLiteral("Change %1 %2").arg(title, label));
            grid->addWidget(buttons[i], i, 2);
        }
    }
    return frame;
}

QPushButton *button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

} // namespace

OptionsWindow::OptionsWindow(
    Dialogs &dialogs, StoredOptions options, Defaults defaults, Apply apply, QWidget *owner)
    : QWidget(owner, ownedWindow)
    , m_highlightCommands(new QCheckBox(QStringLiteral("Highlight Commands")))
    , m_editorFont(new QLabel)
    , m_debuggerFont(new QLabel)
    , m_defaultsButton(new QPushButton(QStringLiteral("&Restore Defaults")))
    , m_scriptsFolder(new QLineEdit)
    , m_dialogs(dialogs)
    , m_options(std::move(options))
    , m_defaults(std::move(defaults))
    , m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setAttribute(Qt::WA_DeleteOnClose);
    ButtonClosedDialog::closeOnEscape(*this);
    setFont(designFont());
    m_highlightCommands->setObjectName(QStringLiteral("Check1"));
    m_highlightCommands->setChecked(true);
    m_editorFont->setObjectName(QStringLiteral("Label9"));
    m_debuggerFont->setObjectName(QStringLiteral("Label10"));
    m_defaultsButton->setObjectName(QStringLiteral("cmdDefaults"));
    connect(m_defaultsButton, &QPushButton::clicked, this, &OptionsWindow::restoreDefaults);
    for (QLabel *label : {m_editorFont, m_debuggerFont}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    const char *names[] = {"picHidden", "Picture1", "Picture2", "Picture3", "Picture4", "Picture5"};
    std::array<QPushButton *, 3> changeColour{};
    for (std::size_t i = 0; i < m_colourBoxes.size(); ++i) {
        m_colourBoxes[i] = colourBox(names[i]);
        if (i < 3) {
            m_colourBoxes[i]->setCursor(Qt::PointingHandCursor);
            m_colourBoxes[i]->installEventFilter(this);
            changeColour[i]
                = button(QStringLiteral("cmdColor%1").arg(i), QStringLiteral("Change..."));
            connect(changeColour[i], &QPushButton::clicked, this, [this, i] {
                chooseEditorColour(int(i));
            });
        }
    }
    showOptions();
    QPushButton *editorFontButton
        = button(QStringLiteral("cmdEditorFont"), QStringLiteral("Change &Editor Font..."));
    QPushButton *debuggerFontButton
        = button(QStringLiteral("cmdDebuggerFont"), QStringLiteral("Change De&bugger Font..."));
    connect(editorFontButton, &QPushButton::clicked, this, &OptionsWindow::chooseEditorFont);
    connect(debuggerFontButton, &QPushButton::clicked, this, &OptionsWindow::chooseDebuggerFont);

    auto *settings = new QGroupBox(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("Frame4"));
    auto *settingsLayout = new QVBoxLayout(settings);
    settingsLayout->addWidget(m_highlightCommands);
    settingsLayout->addWidget(new QLabel(QStringLiteral("Editor Font")));
    settingsLayout->addWidget(m_editorFont);
    settingsLayout->addWidget(editorFontButton);
    settingsLayout->addWidget(new QLabel(QStringLiteral("Debugger Font")));
    settingsLayout->addWidget(m_debuggerFont);
    settingsLayout->addWidget(debuggerFontButton);
    // Includes are looked for beside a script, then in each folder above it up to this one.
    m_scriptsFolder->setObjectName(QStringLiteral("txtScriptsFolder"));
    m_scriptsFolder->setText(m_options.scriptsFolder);
    m_scriptsFolder->setPlaceholderText(QStringLiteral("Each script's library"));
    m_scriptsFolder->setToolTip(
        QStringLiteral("Includes are looked for beside a script, then in each folder above it up "
                       "to this one. Empty: up to the highest folder of scripts, or the one "
                       "holding .git."));
    connect(m_scriptsFolder, &QLineEdit::editingFinished, this, [this] {
        const QString folder = m_scriptsFolder->text().trimmed();
        if (folder == m_options.scriptsFolder)
            return;
        m_options.scriptsFolder = folder;
        m_apply(m_options);
    });
    auto *scriptsLabel = new QLabel(QStringLiteral("Scripts &folder"));
    scriptsLabel->setBuddy(m_scriptsFolder);
    QPushButton *scriptsButton
        = button(QStringLiteral("cmdScriptsFolder"), QStringLiteral("C&hoose Folder..."));
    scriptsButton->setAccessibleName(QStringLiteral("Choose scripts folder"));
    connect(scriptsButton, &QPushButton::clicked, this, &OptionsWindow::chooseScriptsFolder);
    settingsLayout->addWidget(scriptsLabel);
    settingsLayout->addWidget(m_scriptsFolder);
    settingsLayout->addWidget(scriptsButton);
    settingsLayout->addStretch();
    settingsLayout->addWidget(m_defaultsButton);

    const char *editorLabels[] = {"Text Color", "Keyword Color", "Operator Color"};
    const char *debuggerLabels[] = {"Text Color", "Correct Color", "Error Color"};
    auto *colours = new QGroupBox(QStringLiteral("Colors"));
    colours->setObjectName(QStringLiteral("Frame1"));
    auto *coloursLayout = new QHBoxLayout(colours);
    coloursLayout->addWidget(colourFrame("Frame3",
                                         QStringLiteral("Editor"),
                                         m_colourBoxes.data(),
                                         editorLabels,
                                         changeColour.data()));
    coloursLayout->addWidget(colourFrame(
        "Frame2", QStringLiteral("Debugger"), m_colourBoxes.data() + 3, debuggerLabels));

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(settings);
    layout->addWidget(colours);
}

QFont OptionsWindow::editorFont() const
{
    return m_options.editor.font.value_or(m_defaults.editorFont);
}

QFont OptionsWindow::debuggerFont() const
{
    return m_options.debuggerFont.value_or(m_defaults.debuggerFont);
}

// Every box and font name as it is in use now.
void OptionsWindow::showOptions()
{
    showFont(*m_editorFont, editorFont());
    showFont(*m_debuggerFont, debuggerFont());
    const EditorColours editor = defaultEditorColours();
    const QColor inUse[] = {m_options.editor.text.value_or(editor.text),
                            m_options.editor.keywords.value_or(editor.keywords),
                            m_options.editor.operators.value_or(editor.operators),
                            m_defaults.debuggerColours[0],
                            m_defaults.debuggerColours[1],
                            m_defaults.debuggerColours[2]};
    for (std::size_t i = 0; i < m_colourBoxes.size(); ++i)
        showColour(*m_colourBoxes[i], inUse[i]);
}

void OptionsWindow::showFont(QLabel &label, const QFont &font)
{
    label.setText(font.family());
    label.setFont(font);
}

void OptionsWindow::showColour(QLabel &box, const QColor &colour)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, colour);
    box.setPalette(palette);
}

bool OptionsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    if (watched == m_editorFont)
        chooseEditorFont();
    else if (watched == m_debuggerFont)
        chooseDebuggerFont();
    for (int box = 0; box < 3; ++box) {
        if (watched == m_colourBoxes[std::size_t(box)])
            chooseEditorColour(box);
    }
    return QWidget::eventFilter(watched, event);
}

void OptionsWindow::chooseEditorFont()
{
    const auto chosen = m_dialogs.font(QStringLiteral("Editor Font"), editorFont());
    if (!chosen)
        return;
    m_options.editor.font = *chosen;
    showFont(*m_editorFont, *chosen);
    m_apply(m_options);
}

void OptionsWindow::chooseDebuggerFont()
{
    const auto chosen = m_dialogs.font(QStringLiteral("Debugger Font"), debuggerFont());
    if (!chosen)
        return;
    m_options.debuggerFont = *chosen;
    showFont(*m_debuggerFont, *chosen);
    m_apply(m_options);
}

void OptionsWindow::chooseEditorColour(int box)
{
    QLabel &shown = *m_colourBoxes[std::size_t(box)];
    const auto chosen
        = m_dialogs.color(QStringLiteral("Color"), shown.palette().color(QPalette::Window));
    if (!chosen)
        return;
    const QColor paper = defaultEditorColours().paper;
    const double contrast = contrastRatio(*chosen, paper);
    if (contrast < minimumTextContrast) {
        m_dialogs.inform(windowTitle(),
                         QStringLiteral("Text in that colour would be hard to read on the "
                                        "editor's background (contrast %1:1). Choose a colour "
                                        "with a contrast of at least %2:1.")
                             .arg(contrast, 0, 'f', 1)
                             .arg(minimumTextContrast, 0, 'f', 0),
                         Dialogs::Icon::Warning);
        return;
    }
    showColour(shown, *chosen);
    std::optional<QColor> *targets[]
        = {&m_options.editor.text, &m_options.editor.keywords, &m_options.editor.operators};
    *targets[box] = *chosen;
    m_apply(m_options);
}

} // namespace Korveth

namespace Korveth {

void OptionsWindow::chooseScriptsFolder()
{
    const QString chosen
        = m_dialogs.folderName(QStringLiteral("Scripts Folder"), m_options.scriptsFolder);
    if (chosen.isEmpty())
        return;
    m_scriptsFolder->setText(chosen);
    m_options.scriptsFolder = chosen;
    m_apply(m_options);
}

void OptionsWindow::restoreDefaults()
{
    m_options.editor = {};
    m_options.debuggerFont.reset();
    showOptions();
    m_apply(m_options);
}

} // namespace Korveth
