#pragma once

#include "ModernChecker.h"

#include <QObject>

namespace Korveth {

// Whether editors show mistakes as the user types, and in which dialect: one for the program,
// shared by every editor.
class LiveCheckSettings : public QObject
{
    Q_OBJECT

public:
    bool enabled() const { return m_enabled; }
    DialectChoice dialect() const { return m_dialect; }

    void setEnabled(bool enabled)
    {
        if (enabled == m_enabled)
            return;
        m_enabled = enabled;
        Q_EMIT changed();
    }
    void setDialect(DialectChoice dialect)
    {
        if (dialect == m_dialect)
            return;
        m_dialect = dialect;
        Q_EMIT changed();
    }

Q_SIGNALS:
    void changed();

private:
    bool m_enabled = true;
    DialectChoice m_dialect = DialectChoice::Auto;
};

} // namespace Korveth
