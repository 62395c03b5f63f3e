#include "frmProperties.h"

#include "TextCounts.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
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

frmProperties::frmProperties(QWidget *owner)
    : QDialog(owner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) // no close box
    , lblFile(label("lblFile"))
    , lblSizeK(label("lblSizeK"))
    , lblSizeB(label("lblSizeB"))
    , lblLine(label("lblLine"))
    , lblWord(label("lblWord"))
    , lblChar(label("lblChar"))
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Script Properties"));
    setFont(QFont(QStringLiteral("Verdana"), 8));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdOK"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, [this] {
        m_closing = true;
        accept();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frameOf(
        QStringLiteral("Frame2"), QStringLiteral("File/Size Data"), {lblFile, lblSizeK, lblSizeB}));
    layout->addWidget(frameOf(
        QStringLiteral("Frame1"), QStringLiteral("Char/Word Data"), {lblLine, lblWord, lblChar}));
    layout->addWidget(close, 0, Qt::AlignRight);
    setMinimumWidth(360);
}

void frmProperties::fill(const Figures &figures)
{
    lblChar->setText(QStringLiteral("Characters:   %1").arg(figures.characters));
    lblLine->setText(QStringLiteral("Total Lines:  %1").arg(figures.lines));
    lblWord->setText(QStringLiteral("Word Count:   %1").arg(figures.words));
    lblFile->setText(QStringLiteral("File Name:    ")
                     + (figures.neverSaved ? QStringLiteral("New Script") : figures.caption));
    lblSizeK->setText(QStringLiteral("File Size(K): ") + kilobytesText(figures.characters)
                      + QStringLiteral(" KBytes"));
    lblSizeB->setText(QStringLiteral("File Size(B): %1 Bytes").arg(figures.characters));
}

void frmProperties::centreOnOwner()
{
    adjustSize();
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect frame = owner->frameGeometry();
    move(frame.left() + (frame.width() - width()) / 2,
         frame.top() + (frame.height() - height()) / 2);
}

// Only "&Close" closes the window: Escape and the window manager's close are refused.
void frmProperties::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmProperties::closeEvent(QCloseEvent *event)
{
    if (m_closing)
        event->accept();
    else
        event->ignore();
}

} // namespace Korveth
