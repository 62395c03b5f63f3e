#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Korveth {

class ScriptEditor;
struct SearchSettings;

// The modeless find and replace dialog, one per main window. It follows the active editor and
// only gathers the search; a closed editor is never touched (the pointer clears itself).
class FindReplaceDialog final : public QDialog
{
    Q_OBJECT

public:
    FindReplaceDialog(SearchSettings &settings, QWidget *parent);

    void setEditor(ScriptEditor *editor) { m_editor = editor; }
    ScriptEditor *editor() const { return m_editor; }
    void showFor(bool replace);

    // What the dialog last told the user ("" after a found match).
    QString status() const;
    // The buttons' work, callable without clicking.
    void find(bool forward);
    void replaceOne();
    void replaceEverything();

private:
    void storeSettings();
    bool haveEditor();

    SearchSettings &m_settings;
    QPointer<ScriptEditor> m_editor;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QLabel *m_replaceLabel;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    QPushButton *m_replaceButton;
    QPushButton *m_replaceAllButton;
    QLabel *m_status;
};

} // namespace Korveth
