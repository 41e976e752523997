#pragma once
// Large byte blocks for whole data files and the lists built from them. Blocks of several
// megabytes are taken in huge pages where the system offers them: a 100 MB file is then
// mapped in 50 steps instead of 25000, which is most of the cost of loading it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using ByteBuffer = std::unique_ptr<uint8_t[], FreeDeleter>;

// Uninitialised storage of at least size bytes (one byte for size 0); nullptr when the
// memory cannot be had.
void* AllocateLarge(size_t size);

inline ByteBuffer AllocateBytes(size_t size)
{
    return ByteBuffer(static_cast<uint8_t*>(AllocateLarge(size)));
}

// A standard allocator over AllocateLarge, for vectors that grow to millions of records.
template <typename T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <typename U> LargeAllocator(const LargeAllocator<U>&) {}
    T* allocate(size_t n)
    {
        void* p = AllocateLarge(n * sizeof(T));
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t) { std::free(p); }
    template <typename U> bool operator==(const LargeAllocator<U>&) const { return true; }
};
