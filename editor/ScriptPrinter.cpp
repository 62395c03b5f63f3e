#include "ScriptPrinter.h"

#include "Dialogs.h"
#include "ScriptEditor.h"

namespace Korveth {

void ScriptPrinter::print(ScriptEditor &editor)
{
    if (m_dialogs.print(m_printer))
        m_printer.printRange(&editor);
}

void ScriptPrinter::pageSetup()
{
    m_dialogs.pageSetup(m_printer);
}

} // namespace Korveth
