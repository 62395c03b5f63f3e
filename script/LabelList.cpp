#include "LabelList.h"

namespace Korveth {

void LabelList::append(int line, int column, QStringView name)
{
    m_labels.append({line, column, std::uint32_t(m_names.size()), std::uint32_t(name.size())});
    m_names += name;
}

void LabelList::squeeze()
{
    m_labels.squeeze();
    m_names.squeeze();
}

void LabelList::place(qsizetype i, int line, int column)
{
    // Written only where a label moved: a copy of the places is made by the first write.
    const Label &now = std::as_const(m_labels)[i];
    if (now.line == line && now.column == column)
        return;
    Label &label = m_labels[i];
    label.line = line;
    label.column = column;
}

} // namespace Korveth
