#include "HugePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
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

} // namespace Korveth
