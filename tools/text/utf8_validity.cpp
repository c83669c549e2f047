#include "text/utf8_validity.h"

#include <cstdint>
#include <cstring>

namespace {

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Bytes of the well-formed character at `pos`, or 0 when there is none.
std::size_t CharacterAt(const unsigned char* p, std::size_t left) {
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        return 1;
    }
    // The second byte's range depends on the lead byte; every later byte is
    // 0x80-0xBF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong form
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogate
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (left < length || !InRange(p[1], low, high)) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!InRange(p[i], 0x80, 0xBF)) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::size_t FindInvalidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Runs of ASCII, common in pinyin and markup, eight bytes at a time.
        std::uint64_t word = 0;
        if (text.size() - pos >= sizeof word) {
            std::memcpy(&word, bytes + pos, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                pos += sizeof word;
                continue;
            }
        }
        const std::size_t length = CharacterAt(bytes + pos, text.size() - pos);
        if (length == 0) {
            return pos;
        }
        pos += length;
    }
    return std::string_view::npos;
}
