#include "HealingGenerator.h"

namespace Korveth {

bool HealingChoices::checked(int box) const
{
    switch (box) {
    case 1:
        return m_transferAny;
    case 2:
        return !m_transferAny;
    default:
        return m_healDown == box;
    }
}

void HealingChoices::click(int box)
{
    if (box == 1 || box == 2) {
        m_transferAny = !m_transferAny; // either box moves the mark to its partner
    } else if (box >= 3 && box <= 5) {
        if (m_healDown == box)
            m_healDown.reset();
        else
            m_healDown = box;
    }
}

QString assembleHealingScript(const QString &transfer, const QString &healDown)
{
    return transfer + QStringLiteral("\r\n") + healDown;
}

} // namespace Korveth
