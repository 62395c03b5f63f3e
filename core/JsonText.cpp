#include "JsonText.h"

namespace Korveth {

JsonText &JsonText::string(QStringView text)
{
    m_bytes += '"';
    qsizetype plain = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue;
        m_bytes += text.sliced(plain, i - plain).toUtf8();
        if (c == u'"' || c == u'\\') {
            m_bytes += '\\';
            m_bytes += char(c);
        } else {
            static const char hex[] = "0123456789abcdef";
            m_bytes += "\\u00";
            m_bytes += hex[(c >> 4) & 0xF];
            m_bytes += hex[c & 0xF];
        }
        plain = i + 1;
    }
    m_bytes += text.sliced(plain).toUtf8();
    m_bytes += '"';
    return *this;
}

} // namespace Korveth
