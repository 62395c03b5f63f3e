#pragma once

#include <QDialog>

class QLabel;
class QSpinBox;

namespace Korveth {

class Dialogs;
class ScriptEditor;

// The editor's properties: font, tab width and the colours of the script language's styles.
// Changes apply to the editor when the dialog is accepted.
class EditorPropertiesDialog final : public QDialog
{
    Q_OBJECT

public:
    EditorPropertiesDialog(ScriptEditor &editor, Dialogs &dialogs, QWidget *parent = nullptr);

    // Shows the dialog modally through the dialogs interface; applies it when accepted.
    static void showFor(ScriptEditor &editor, Dialogs &dialogs, QWidget *parent);
    // Applies the choices to the editor.
    void apply();

private:
    void chooseFont();
    void chooseColor(int style);
    void showFont();

    ScriptEditor &m_editor;
    Dialogs &m_dialogs;
    QFont m_font;
    QList<QColor> m_colors;
    QLabel *m_fontLabel;
    QSpinBox *m_tabWidth;
};

} // namespace Korveth
