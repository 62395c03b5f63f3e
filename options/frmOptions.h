#pragma once

#include "StoredOptions.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;

namespace Korveth {

class Dialogs;

// "Color Picker Example": the editor's font and its text, keyword and operator colours, and the
// Script Debugger's report font. A choice takes effect at once; a cancelled dialog changes
// nothing. Modeless; gone once closed.
class frmOptions final : public QWidget
{
    Q_OBJECT

public:
    // Called with the options after each choice, to apply and keep them.
    using Apply = std::function<void(const StoredOptions &)>;

    frmOptions(Dialogs &dialogs,
               StoredOptions options,
               QFont editorFont,
               QFont debuggerFont,
               Apply apply,
               QWidget *owner);

    QCheckBox *Check1;
    QLabel *Label9;  // the editor font, clicked to choose it
    QLabel *Label10; // the debugger font, clicked to choose it
    // The colour boxes: editor text, keywords, operators; debugger text, correct, error.
    std::array<QLabel *, 6> boxes{};

    void chooseEditorFont();
    void chooseDebuggerFont();
    // Box 0 to 2: the editor's text, keyword and operator colours.
    void chooseEditorColour(int box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void showFont(QLabel &label, const QFont &font);
    static void showColour(QLabel &box, const QColor &colour);

    Dialogs &m_dialogs;
    StoredOptions m_options;
    QFont m_editorFont;
    QFont m_debuggerFont;
    Apply m_apply;
};

} // namespace Korveth
