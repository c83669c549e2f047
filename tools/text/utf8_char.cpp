#include "text/utf8_char.h"

#include <cstdio>

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        ++end;
    }
    return end - pos;
}

char32_t Utf8CodePoint(std::string_view character) {
    if (character.empty()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        return lead;
    }
    // The lead byte keeps 7 - length payload bits; each continuation byte six.
    char32_t value = lead & (0x7Fu >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i) {
        value = (value << 6) | (static_cast<unsigned char>(character[i]) & 0x3Fu);
    }
    return value;
}

std::string FormatCodePoint(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}
