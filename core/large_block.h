#pragma once
// Memory for blocks that may be large, such as a whole dictionary's bytes and
// its list of entries: a large block is laid out so that the system can back
// it with huge pages.

#include <cstddef>
#include <limits>
#include <new>

// Throws std::bad_alloc when the memory cannot be had. Free with FreeBlock
// and the same size.
void* AllocateBlock(std::size_t size);
void FreeBlock(void* data, std::size_t size) noexcept;

// The same for a standard container.
template <class T>
struct BlockAllocator {
    using value_type = T;

    BlockAllocator() = default;
    template <class U>
    BlockAllocator(const BlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(AllocateBlock(n * sizeof(T)));
    }
    void deallocate(T* data, std::size_t n) noexcept { FreeBlock(data, n * sizeof(T)); }

    friend bool operator==(const BlockAllocator&, const BlockAllocator&) { return true; }
};
