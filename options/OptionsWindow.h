#pragma once

#include "StoredOptions.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Korveth {

class Dialogs;

// "Options": the editor's font and its text, keyword and operator colours, the Script Debugger's
// report font, and the scripts folder (the library root includes are looked for up to). Each box
// shows the colour in use; a choice takes effect at once, a colour too faint to read on the
// editor's background is refused, a cancelled dialog changes nothing, and Restore Defaults takes
// every choice back. Modeless; gone once closed.
class OptionsWindow final : public QWidget
{
    Q_OBJECT

public:
    // Called with the options after each choice, to apply and keep them.
    using Apply = std::function<void(const StoredOptions &)>;

    // What the window shows where nothing is chosen: the fonts and the debugger's text, correct
    // and error colours.
    struct Defaults
    {
        QFont editorFont;
        QFont debuggerFont;
        std::array<QColor, 3> debuggerColours;
    };

    OptionsWindow(
        Dialogs &dialogs, StoredOptions options, Defaults defaults, Apply apply, QWidget *owner);
    void chooseEditorFont();
    void chooseDebuggerFont();
    // Box 0 to 2: the editor's text, keyword and operator colours.
    void chooseEditorColour(int box);
    // Takes back every choice: the fonts and colours every editor and the debugger start with.
    void restoreDefaults();
    // The scripts folder, from the folder dialog.
    void chooseScriptsFolder();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void showFont(QLabel &label, const QFont &font);
    static void showColour(QLabel &box, const QColor &colour);
    void showOptions();
    QFont editorFont() const;
    QFont debuggerFont() const;

    QCheckBox *m_highlightCommands; // `Check1`
    QLabel *m_editorFont;           // `Label9`
    QLabel *m_debuggerFont;         // `Label10`
    QPushButton *m_defaultsButton;  // `cmdDefaults`
    QLineEdit *m_scriptsFolder;
    // The colour boxes `picHidden`, `Picture1` .. `Picture5`: editor text, keywords, operators;
    // debugger text, correct, error.
    std::array<QLabel *, 6> m_colourBoxes{};

    Dialogs &m_dialogs;
    StoredOptions m_options;
    Defaults m_defaults;
    Apply m_apply;
};

} // namespace Korveth
