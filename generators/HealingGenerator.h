#pragma once

#include <QString>

#include <optional>

// The healing script generator's choices and assembly, without its window.
namespace Korveth {

// The five check boxes: 1 "Transfer any", 2 "Target wounds" (exactly one of the two is
// checked), 3 to 5 the heal-down ways (at most one is checked).
class HealingChoices
{
public:
    bool checked(int box) const;
    // A click on a box, keeping the two groups' rules.
    void click(int box);
    // The fragment files of the choice: HSG1.dat or HSG2.dat, and the heal-down one if any.
    int transferFragment() const { return m_transferAny ? 1 : 2; }
    std::optional<int> healDownFragment() const { return m_healDown; }

private:
    bool m_transferAny = true;
    std::optional<int> m_healDown = 3;
};

// The script: the transfer fragment, one CR LF, the heal-down fragment, both unchanged.
QString assembleHealingScript(const QString &transfer, const QString &healDown);

} // namespace Korveth
