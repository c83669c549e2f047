#include "byte_buffer.h"

#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// Large blocks start on a 2 MiB boundary, where the system can back them with
// huge pages: a dictionary of hundreds of MB then costs hundreds instead of
// tens of thousands of page faults as it is read in.
constexpr std::size_t kLargeBlock = std::size_t{4} << 20;
constexpr std::align_val_t kHugePage{std::size_t{2} << 20};

char* Allocate(std::size_t size) {
    if (size < kLargeBlock) {
        return static_cast<char*>(::operator new(size));
    }
    void* block = ::operator new(size, kHugePage);
#ifdef __linux__
    madvise(block, size, MADV_HUGEPAGE);  // a hint: ignored where unsupported
#endif
    return static_cast<char*>(block);
}

void Free(char* block, std::size_t size) {
    if (block == nullptr) {
        return;
    }
    if (size < kLargeBlock) {
        ::operator delete(block);
    } else {
        ::operator delete(block, kHugePage);
    }
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
    char* bigger = Allocate(capacity);
    if (keep > 0) {
        std::memcpy(bigger, m_data, keep);
    }
    Release();
    m_data = bigger;
    m_capacity = capacity;
}

void ByteBuffer::Release() {
    Free(m_data, m_capacity);
    m_data = nullptr;
    m_capacity = 0;
}
