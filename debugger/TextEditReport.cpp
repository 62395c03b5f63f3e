#include "TextEditReport.h"

#include <QTextEdit>

namespace Korveth {

TextEditReport::TextEditReport(QTextEdit &box, const QTextCharFormat &format)
    : m_cursor(box.document())
    , m_format(format)
{
    m_cursor.movePosition(QTextCursor::End);
}

void TextEditReport::appendText(QStringView text)
{
    m_cursor.insertText(text.toString(), m_format);
}

void TextEditReport::appendLineBreak()
{
    m_cursor.insertBlock();
}

void TextEditReport::setColor(ReportColor color)
{
    const auto bgr = std::uint32_t(color);
    m_format.setForeground(QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int(bgr >> 16)));
}

void TextEditReport::setBoldItalic(bool on)
{
    m_format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    m_format.setFontItalic(on);
}

} // namespace Korveth
