#include "ScriptPrinter.h"

#include "Dialogs.h"
#include "ScriptEditor.h"

#include <Qsci/qsciprinter.h>

namespace Korveth {

ScriptPrinter::ScriptPrinter(Dialogs &dialogs)
    : m_dialogs(dialogs)
{}

ScriptPrinter::~ScriptPrinter() = default;

QsciPrinter &ScriptPrinter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QsciPrinter>();
    return *m_printer;
}

void ScriptPrinter::print(ScriptEditor &editor)
{
    if (m_dialogs.print(printer()))
        printer().printRange(&editor);
}

void ScriptPrinter::pageSetup()
{
    m_dialogs.pageSetup(printer());
}

} // namespace Korveth
