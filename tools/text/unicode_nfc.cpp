#include "text/unicode_nfc.h"

#include "text/utf8_char.h"

namespace {

// Ranges of characters that have no decomposition, combine with nothing
// before them and are no combining mark themselves: a string of them alone
// is NFC. Everything else goes to the library.
bool IsPlainCharacter(char32_t c) {
    return c < 0x300 ||                    // ASCII, Latin-1, the letters of pinyin
           (c >= 0x2002 && c < 0x20D0) ||  // general punctuation (U+2000/2001 decompose)
           (c >= 0x3000 && c < 0x302A) ||  // CJK punctuation (U+302A-302F combine)
           (c >= 0x3030 && c < 0x3099) ||  // and hiragana, up to the combining voicing marks
           (c >= 0x3400 && c < 0xA000) ||  // CJK unified ideographs and extension A
           (c >= 0xFF00 && c < 0xFFF0);    // full-width forms
}

}  // namespace

bool IsPlainlyNfc(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = Utf8CharLength(utf8, pos);
        if (!IsPlainCharacter(Utf8CodePoint(utf8.substr(pos, length)))) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::string ToNfc(std::string_view utf8) {
    return IsPlainlyNfc(utf8) ? std::string(utf8) : LibraryNfc(utf8);
}
