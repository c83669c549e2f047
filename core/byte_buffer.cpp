#include "byte_buffer.h"

#include <cstring>
#include <new>
#include <utility>

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
