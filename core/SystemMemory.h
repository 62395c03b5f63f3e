#pragma once

#include <cstddef>

// How the program asks the system for memory: the one place that knows the platform's allocator.
namespace Korveth {

// Asks the kernel to back a large block with huge pages where it offers them (Linux, where
// transparent huge pages are left to the program's choice). A block of tens of megabytes written
// once then costs tens of page faults, not thousands; on some machines those faults are most of
// the time a whole script takes to open. Elsewhere, or for a small block, nothing happens.
void preferHugePages(const void *data, std::size_t bytes);

// For a long-running program that holds big scripts: blocks of a script's size go back to the
// system as soon as they are freed, and threads share one pool of small blocks rather than each
// keeping its own. Left alone, the GNU allocator keeps freed blocks of up to 32 MB for reuse and
// gives each thread its own pool, which made an editor checking a 5 MB script as the user types
// hold 30 to 40 MB more than it used. Call it first in main(); elsewhere nothing happens (the
// allocators of Windows and macOS return large blocks on their own).
void returnLargeBlocksPromptly();

} // namespace Korveth
