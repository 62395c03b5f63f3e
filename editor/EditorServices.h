#pragma once

#include "EditorAppearance.h"
#include "EditorRegistry.h"
#include "LanguageDefinition.h"
#include "SearchSettings.h"

namespace Korveth {

// What every editor of one program shares: registered commands and hot keys, the colouring
// languages, the search and the look the user chose. The program makes one at start-up and passes
// it down; tests make their own.
struct EditorServices
{
    EditorRegistry registry;
    LanguageRegistry languages;
    SearchSettings search;
    EditorAppearance appearance;
};

} // namespace Korveth
