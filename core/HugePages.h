#pragma once

#include <cstddef>

namespace Korveth {

// Asks the kernel to back a large block with huge pages where it offers them (Linux, where
// transparent huge pages are left to the program's choice). A block of tens of megabytes written
// once then costs tens of page faults, not thousands; on some machines those faults are most of
// the time a whole script takes to open. Elsewhere, or for a small block, nothing happens.
void preferHugePages(const void *data, std::size_t bytes);

} // namespace Korveth
