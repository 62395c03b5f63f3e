#pragma once

#include <QString>

namespace Korveth {

// What Find, Find Next and Replace search for. One per program, so that Find Next goes on with a
// search begun in another document.
struct SearchSettings
{
    QString text;
    QString replacement;
    bool matchCase = false;
    bool wholeWord = false;
};

} // namespace Korveth
