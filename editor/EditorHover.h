#pragma once

#include <QObject>

#include <functional>

class QHelpEvent;
class QPoint;

namespace Korveth {

class ScriptEditor;
class ScriptModel;

// What the pointer does over an editor's text: a tooltip with the verdicts of the line under it,
// while the text is checked, and, while Ctrl is held, the label under it underlined as a link that
// a click follows. It asks for the model, brought up to date, each time.
class EditorHover final : public QObject
{
    Q_OBJECT

public:
    static constexpr int linkIndicator = 10;
    using ModelSource = std::function<const ScriptModel &()>;

    // A child of parent, which its owner deletes before the editor: it watches the editor's
    // events, and a half destroyed editor still sends some.
    EditorHover(ScriptEditor &editor,
                ModelSource model,
                std::function<bool()> checking,
                QObject *parent);

Q_SIGNALS:
    // A label reference was clicked with Ctrl held; the caret stands on it.
    void labelClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool showVerdicts(const QHelpEvent &help);
    void showLinkAt(const QPoint &point);
    void clearLink();

    ScriptEditor &m_editor;
    ModelSource m_model;
    std::function<bool()> m_checking;
    // Compared with what the filter watches without asking the editor, which may be half gone
    // while its children are deleted.
    QWidget *m_viewport;
    bool m_linkShown = false;
};

} // namespace Korveth
