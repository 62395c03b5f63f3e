#include "SystemMemory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Korveth {

void preferHugePages(const void *data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t hugePage = 2 * 1024 * 1024;
    // Only the huge pages wholly inside the block: the advice must not reach memory it does not
    // own.
    const auto from = (std::uintptr_t(data) + hugePage - 1) & ~(hugePage - 1);
    const auto to = (std::uintptr_t(data) + bytes) & ~(hugePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, MADV_HUGEPAGE); // advice: may fail
#else
    (void)data;
    (void)bytes;
#endif
}

void returnLargeBlocksPromptly()
{
#if defined(__GLIBC__)
    // A fixed threshold also stops the allocator from raising it each time such a block is freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 2); // the main thread's pool, and one for the checking threads
#endif
}

} // namespace Korveth
