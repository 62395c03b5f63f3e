#include "LabelList.h"

namespace Korveth {

void LabelList::reserve(qsizetype labels, qsizetype characters)
{
    m_lines.reserve(labels);
    m_columns.reserve(labels);
    m_nameStarts.reserve(labels);
    m_names.reserve(characters);
}

void LabelList::append(int line, int column, QStringView name)
{
    m_lines.append(line);
    m_columns.append(column);
    m_nameStarts.append(std::uint32_t(m_names.size()));
    m_names += name;
}

void LabelList::place(qsizetype i, int line, int column)
{
    // Written only where a label moved: a copy of that part is made by its first write.
    if (std::as_const(m_lines)[i] != line)
        m_lines[i] = line;
    if (std::as_const(m_columns)[i] != column)
        m_columns[i] = column;
}

} // namespace Korveth
