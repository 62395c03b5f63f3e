#pragma once

#include <QTabBar>

namespace Korveth {

// The document tab strip `tb`: one tab per open document, tagged with the document's TabNum.
class DocumentTabs final : public QTabBar
{
    Q_OBJECT

public:
    explicit DocumentTabs(QWidget *parent = nullptr);

    // A tab with its caption and, as its tooltip, the document's full name.
    void addDocumentTab(int tag, const QString &caption, const QString &toolTip);
    // Selects the first tab with the tag; nothing when none has it.
    void selectTag(int tag);
    // Sets the caption of the first tab with the tag.
    void setCaption(int tag, const QString &caption);
    void setToolTipOfTag(int tag, const QString &toolTip);
    // How many characters of its name a tab keeps before the scroll buttons take over.
    static constexpr int readableCharacters = 14;
    // Removes the first tab with the tag; nothing when none has it.
    void removeTag(int tag);
    int tagAt(int index) const;
    QStringList captions() const;

Q_SIGNALS:
    // The user picked a tab.
    void tagActivated(int tag);
    void tagContextMenuRequested(int tag, const QPoint &globalPos);

protected:
    QSize minimumTabSizeHint(int index) const override;

private:
    int indexOfTag(int tag) const;
};

} // namespace Korveth
