#pragma once

#include <Qsci/qsciprinter.h>

namespace Korveth {

class Dialogs;
class ScriptEditor;

// Prints editors; the page set-up chosen once holds for every later print of the run.
class ScriptPrinter
{
public:
    explicit ScriptPrinter(Dialogs &dialogs)
        : m_dialogs(dialogs)
    {}

    // Shows the print dialog, then prints the whole text when the user confirms.
    void print(ScriptEditor &editor);
    void pageSetup();

private:
    Dialogs &m_dialogs;
    QsciPrinter m_printer;
};

} // namespace Korveth
