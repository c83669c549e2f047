#include "byte_buffer.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Large blocks are laid out for huge pages: a dictionary of hundreds of MB
// then costs hundreds instead of tens of thousands of page faults as it is
// read in. The block comes from the ordinary allocator, which can hand the
// same pages, already mapped, to the next block of its size once this one is
// freed (a block aligned by the allocator would be fresh memory every time);
// the bytes begin at the first 2 MiB boundary in it, and it reaches to the
// end of their last huge page, so that no 4 KiB page is left at either end.
#ifdef __linux__
constexpr std::size_t kLargeBlock = 2 * kHugePage;
#else
constexpr std::size_t kLargeBlock = 0;  // no hint to give: blocks as they come
#endif

bool IsLarge(std::size_t capacity) { return kLargeBlock > 0 && capacity >= kLargeBlock; }

std::size_t HugePages(std::size_t capacity) {
    return (capacity + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

ByteBuffer::~ByteBuffer() { Release(); }

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_block(std::exchange(other.m_block, nullptr)),
      m_data(std::exchange(other.m_data, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        m_block = std::exchange(other.m_block, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

void ByteBuffer::Reserve(std::size_t capacity, std::size_t keep) {
    if (capacity <= m_capacity) {
        return;
    }
    char* block = nullptr;
    char* data = nullptr;
    if (IsLarge(capacity)) {
        if (capacity > std::numeric_limits<std::size_t>::max() - 2 * kHugePage) {
            throw std::bad_alloc();
        }
        const std::size_t pages = HugePages(capacity);
        block = static_cast<char*>(::operator new(pages + kHugePage));
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        data = block + (kHugePage - start % kHugePage) % kHugePage;
#ifdef __linux__
        madvise(data, pages, MADV_HUGEPAGE);  // a hint: ignored where unsupported
#endif
    } else {
        block = data = static_cast<char*>(::operator new(capacity));
    }
    if (keep > 0) {
        std::memcpy(data, m_data, keep);
    }
    Release();
    m_block = block;
    m_data = data;
    m_capacity = capacity;
}

void ByteBuffer::Release() {
    ::operator delete(m_block);
    m_block = nullptr;
    m_data = nullptr;
    m_capacity = 0;
}
