#pragma once

#include <memory>

class QsciPrinter;

namespace Korveth {

class Dialogs;
class ScriptEditor;

// Prints editors; the page set-up chosen once holds for every later print of the run. The printer
// is made on first use: making it loads the system's print plugin and its libraries (some 3 MB),
// which a player who never prints should not carry.
class ScriptPrinter
{
public:
    explicit ScriptPrinter(Dialogs &dialogs);
    ~ScriptPrinter();

    // Shows the print dialog, then prints the whole text when the user confirms.
    void print(ScriptEditor &editor);
    void pageSetup();

private:
    QsciPrinter &printer();

    Dialogs &m_dialogs;
    std::unique_ptr<QsciPrinter> m_printer;
};

} // namespace Korveth
