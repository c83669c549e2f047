#include "byte_buffer.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// Asks for the whole 2 MiB pages inside a block to be backed by huge pages: a
// dictionary of hundreds of MB then costs hundreds instead of tens of
// thousands of page faults as it is read in. The block itself comes from the
// ordinary allocator, not aligned on its own: the allocator can then hand the
// same pages, already mapped, to the next block of its size once this one is
// freed, where an aligned block would be fresh memory every time.
void HintHugePages([[maybe_unused]] char* block, [[maybe_unused]] std::size_t size) {
#ifdef __linux__
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePage - 1);
    if (last > first) {
        // A hint: ignored where huge pages are not to be had.
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
}

}  // namespace

ByteBuffer::~ByteBuffer() { Release(); }

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

void ByteBuffer::Reserve(std::size_t capacity, std::size_t keep) {
    if (capacity <= m_capacity) {
        return;
    }
    char* bigger = static_cast<char*>(::operator new(capacity));
    HintHugePages(bigger, capacity);
    if (keep > 0) {
        std::memcpy(bigger, m_data, keep);
    }
    Release();
    m_data = bigger;
    m_capacity = capacity;
}

void ByteBuffer::Release() {
    ::operator delete(m_data);
    m_data = nullptr;
    m_capacity = 0;
}
