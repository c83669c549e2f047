#include "large_block.h"

#include <cstdint>
#include <cstring>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Large blocks are laid out for huge pages: a dictionary of hundreds of MB
// then costs hundreds instead of tens of thousands of page faults as it is
// read in. The memory comes from the ordinary allocator, which can hand the
// same pages, already mapped, to the next block of its size once this one is
// freed (memory aligned by the allocator would be fresh every time). The
// block begins at the first 2 MiB boundary in it, after room for the address
// to free, and the memory reaches to the end of the block's last huge page,
// so that no 4 KiB page is faulted in at either end.
#ifdef __linux__
constexpr std::size_t kLargeBlock = 2 * kHugePage;
#else
constexpr std::size_t kLargeBlock = 0;  // no hint to give: blocks as they come
#endif

bool IsLarge(std::size_t size) { return kLargeBlock > 0 && size >= kLargeBlock; }

constexpr std::size_t kExtra = kHugePage + sizeof(void*);

}  // namespace

void* AllocateBlock(std::size_t size) {
    if (!IsLarge(size)) {
        return ::operator new(size);
    }
    if (size > std::numeric_limits<std::size_t>::max() - kHugePage - kExtra) {
        throw std::bad_alloc();
    }
    const std::size_t pages = (size + kHugePage - 1) / kHugePage * kHugePage;
    char* const memory = static_cast<char*>(::operator new(pages + kExtra));
    const auto start = reinterpret_cast<std::uintptr_t>(memory) + sizeof(void*);
    char* const data = memory + sizeof(void*) + (kHugePage - start % kHugePage) % kHugePage;
    std::memcpy(data - sizeof(void*), &memory, sizeof(void*));
#ifdef __linux__
    madvise(data, pages, MADV_HUGEPAGE);  // a hint: ignored where unsupported
#endif
    return data;
}

void FreeBlock(void* data, std::size_t size) noexcept {
    if (data == nullptr || !IsLarge(size)) {
        ::operator delete(data);
        return;
    }
    void* memory = nullptr;
    std::memcpy(&memory, static_cast<char*>(data) - sizeof(void*), sizeof(void*));
    ::operator delete(memory);
}
