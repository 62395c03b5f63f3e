#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Korveth {

class ScriptEditor;

// The editor's modeless find and replace dialog. It only gathers the search and calls the
// editor's search operations.
class FindReplaceDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit FindReplaceDialog(ScriptEditor *editor);

    void showFor(bool replace);

private:
    void storeSettings();
    void find(bool forward);
    void replaceOne();
    void replaceEverything();

    ScriptEditor *m_editor;
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
