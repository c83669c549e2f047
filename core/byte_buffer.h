#pragma once
// A growable block of bytes that are not initialised when it grows: the
// loader reads a whole file straight into it.

#include <cstddef>

class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ByteBuffer(ByteBuffer&& other) noexcept;
    ByteBuffer& operator=(ByteBuffer&& other) noexcept;

    // Makes room for at least `capacity` bytes, keeping the first `keep`.
    // Throws std::bad_alloc when the memory cannot be had.
    void Reserve(std::size_t capacity, std::size_t keep);

    char* data() { return m_data; }
    const char* data() const { return m_data; }
    std::size_t capacity() const { return m_capacity; }

private:
    void Release();

    char* m_data = nullptr;
    std::size_t m_capacity = 0;
};
