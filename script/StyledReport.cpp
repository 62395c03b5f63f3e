#include "StyledReport.h"

namespace Korveth {

void StyledReport::appendText(QStringView text)
{
    const qsizetype before = m_text.size();
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        m_text.resize(before + text.size());
        char *out = m_text.data() + before;
        for (QChar c : text)
            *out++ = char(c.unicode());
    } else {
        m_text += text.toUtf8();
    }
    m_styles.append(m_text.size() - before, m_style);
}

void StyledReport::appendLineBreak()
{
    m_text += "\r\n";
    m_styles.append(2, m_style);
}

void StyledReport::setColor(ReportColor color)
{
    switch (color) {
    case ReportColor::Accepted:
        m_style = Blue;
        break;
    case ReportColor::Error:
        m_style = Red;
        break;
    case ReportColor::Black:
        m_style = Black;
        break;
    }
}

void StyledReport::reserve(qsizetype bytes)
{
    m_text.reserve(bytes);
    m_styles.reserve(bytes);
}

void StyledReport::clear()
{
    m_text.clear();
    m_styles.clear();
    m_style = Black;
}

} // namespace Korveth
