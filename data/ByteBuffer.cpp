#include "data/ByteBuffer.h"

#if defined(__linux__)
#include <stdlib.h>
#include <sys/mman.h>
#endif

namespace
{

constexpr size_t HUGE_PAGE = size_t(2) << 20;
constexpr size_t HUGE_THRESHOLD = size_t(8) << 20;

} // namespace

void* AllocateLarge(size_t size)
{
    if (size == 0)
        size = 1;
#if defined(__linux__)
    if (size >= HUGE_THRESHOLD) {
        // Huge pages for the whole 2 MB steps only: the tail stays in small pages, so that
        // no more is resident than asked for.
        void* p = nullptr;
        if (posix_memalign(&p, HUGE_PAGE, size) != 0)
            return nullptr;
        madvise(p, size / HUGE_PAGE * HUGE_PAGE, MADV_HUGEPAGE); // advice: ignored where unsupported
        return p;
    }
#endif
    return std::malloc(size);
}
