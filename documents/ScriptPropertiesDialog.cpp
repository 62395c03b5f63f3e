#include "ScriptPropertiesDialog.h"

#include "DesignFont.h"
#include "TextCounts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Korveth {

namespace {

QGroupBox *frameOf(const QString &name, const QString &title, QList<QLabel *> labels)
{
    auto *frame = new QGroupBox(title);
    frame->setObjectName(name);
    auto *layout = new QVBoxLayout(frame);
    for (QLabel *label : labels)
        layout->addWidget(label);
    return frame;
}

QLabel *label(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1StringView(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ScriptPropertiesDialog::ScriptPropertiesDialog(QWidget *owner)
    : ButtonClosedDialog(owner)
    , m_file(label("lblFile"))
    , m_kilobytes(label("lblSizeK"))
    , m_bytes(label("lblSizeB"))
    , m_lines(label("lblLine"))
    , m_words(label("lblWord"))
    , m_characters(label("lblChar"))
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Script Properties"));
    setFont(designFont());
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdOK"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &ScriptPropertiesDialog::closeByButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frameOf(QStringLiteral("Frame2"),
                              QStringLiteral("File/Size Data"),
                              {m_file, m_kilobytes, m_bytes}));
    layout->addWidget(frameOf(QStringLiteral("Frame1"),
                              QStringLiteral("Char/Word Data"),
                              {m_lines, m_words, m_characters}));
    layout->addWidget(close, 0, Qt::AlignRight);
    setMinimumWidth(360);
}

void ScriptPropertiesDialog::fill(const Figures &figures)
{
    m_characters->setText(QStringLiteral("Characters:   %1").arg(figures.characters));
    m_lines->setText(QStringLiteral("Total Lines:  %1").arg(figures.lines));
    m_words->setText(QStringLiteral("Word Count:   %1").arg(figures.words));
    m_file->setText(QStringLiteral("File Name:    ")
                    + (figures.neverSaved ? QStringLiteral("New Script") : figures.caption));
    m_kilobytes->setText(QStringLiteral("File Size(K): ") + kilobytesText(figures.characters)
                         + QStringLiteral(" KBytes"));
    m_bytes->setText(QStringLiteral("File Size(B): %1 Bytes").arg(figures.characters));
}

} // namespace Korveth
