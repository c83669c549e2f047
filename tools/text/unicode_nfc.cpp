#include "text/unicode_nfc.h"

// Ranges of characters that have no decomposition, combine with nothing
// before them and are no combining mark themselves: a string of them alone
// is NFC. Everything else goes to the library.
bool IsPlainlyNfcCharacter(char32_t c) {
    return c < 0x300 ||                    // ASCII, Latin-1, the letters of pinyin
           (c >= 0x2002 && c < 0x20D0) ||  // general punctuation (U+2000/2001 decompose)
           (c >= 0x3000 && c < 0x302A) ||  // CJK punctuation (U+302A-302F combine)
           (c >= 0x3030 && c < 0x3099) ||  // and hiragana, up to the combining voicing marks
           (c >= 0x3400 && c < 0xA000) ||  // CJK unified ideographs and extension A
           (c >= 0xFF00 && c < 0xFFF0);    // full-width forms
}

bool IsPlainlyNfc(std::string_view utf8) {
    // Decoded here rather than through utf8_char: this runs over every field
    // of a list, and the lists are megabytes of Chinese.
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    for (std::size_t pos = 0; pos < size;) {
        const unsigned char lead = bytes[pos];
        if (lead < 0x80) {
            ++pos;
        } else if (lead < 0xE0 && pos + 1 < size) {
            if (!IsPlainlyNfcCharacter(((lead & 0x1Fu) << 6) | (bytes[pos + 1] & 0x3Fu))) {
                return false;
            }
            pos += 2;
        } else if (lead >= 0xE0 && lead < 0xF0 && pos + 2 < size) {
            const char32_t c =
                ((lead & 0x0Fu) << 12) | ((bytes[pos + 1] & 0x3Fu) << 6) | (bytes[pos + 2] & 0x3Fu);
            if (!IsPlainlyNfcCharacter(c)) {
                return false;
            }
            pos += 3;
        } else {
            return false;  // beyond the BMP, or cut short: the library decides
        }
    }
    return true;
}

std::string ToNfc(std::string_view utf8) {
    return IsPlainlyNfc(utf8) ? std::string(utf8) : LibraryNfc(utf8);
}
