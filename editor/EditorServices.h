#pragma once

#include "EditorAppearance.h"
#include "EditorRegistry.h"
#include "LanguageDefinition.h"
#include "LiveCheckSettings.h"
#include "SearchSettings.h"

namespace Korveth {

// What every editor of one program shares: registered commands and hot keys, the colouring
// languages, the search, the look the user chose and the mistakes shown as one types. The program
// makes one at start-up and passes it down; tests make their own.
struct EditorServices
{
    EditorRegistry registry;
    LanguageRegistry languages;
    SearchSettings search;
    EditorAppearance appearance;
    LiveCheckSettings liveCheck;
};

} // namespace Korveth
