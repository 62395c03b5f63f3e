#pragma once

#include "ButtonClosedDialog.h"

class QLabel;

namespace Korveth {

// "Script Properties": sizes and counts of the active script. Only its Close button closes it.
class ScriptPropertiesDialog final : public ButtonClosedDialog
{
    Q_OBJECT

public:
    struct Figures
    {
        QString caption; // the document's window caption
        bool neverSaved = true;
        std::int32_t characters = 0;
        std::int32_t words = 0;
        std::int32_t lines = 0;
    };

    explicit ScriptPropertiesDialog(QWidget *owner);

    void fill(const Figures &figures);

private:
    QLabel *m_file;       // `lblFile`
    QLabel *m_kilobytes;  // `lblSizeK`
    QLabel *m_bytes;      // `lblSizeB`
    QLabel *m_lines;      // `lblLine`
    QLabel *m_words;      // `lblWord`
    QLabel *m_characters; // `lblChar`
};

} // namespace Korveth
