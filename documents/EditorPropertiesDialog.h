#pragma once

#include <QDialog>

class QLabel;
class QSpinBox;

namespace Korveth {

class ScriptEditor;

// The editor's properties: font, tab width and the colours of the script language's styles.
// Changes apply to the editor when the dialog is accepted.
class EditorPropertiesDialog final : public QDialog
{
    Q_OBJECT

public:
    EditorPropertiesDialog(ScriptEditor &editor, QWidget *parent = nullptr);

    void accept() override;

private:
    void chooseFont();
    void chooseColor(int style);
    void showFont();

    ScriptEditor &m_editor;
    QFont m_font;
    QList<QColor> m_colors;
    QLabel *m_fontLabel;
    QSpinBox *m_tabWidth;
};

} // namespace Korveth
