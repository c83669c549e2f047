#pragma once
// Test helper: bytes in a heap block of exactly their length, so that
// AddressSanitizer reports a read even one byte past the end: a std::string
// keeps a NUL there, and a short one lives inside the string object itself.

#include <string_view>
#include <vector>

class ExactBytes {
public:
    explicit ExactBytes(std::string_view bytes) : m_bytes(bytes.begin(), bytes.end()) {}
    operator std::string_view() const { return {m_bytes.data(), m_bytes.size()}; }

private:
    std::vector<char> m_bytes;
};
