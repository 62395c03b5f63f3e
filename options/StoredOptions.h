#pragma once

#include "EditorAppearance.h"

#include <QFont>

#include <optional>

class QSettings;

namespace Korveth {

// The options the user picked, kept between runs in the user's settings: the editor's look, the
// Script Debugger's report font and dialect, whether mistakes are shown as one types, and the
// scripts folder. The program's only stored setting.
struct StoredOptions
{
    EditorAppearance editor;
    std::optional<QFont> debuggerFont;
    std::optional<int> dialect;    // the Script Debugger's: 0 classic, 1 modern, 2 auto
    std::optional<bool> liveCheck; // mistakes shown as one types
    QString scriptsFolder;         // the root includes are looked for up to; empty: found

    static StoredOptions load(const QSettings &settings);
    void save(QSettings &settings) const;
};

} // namespace Korveth
