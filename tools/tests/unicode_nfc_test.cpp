// NFC before GBK: look-alike compatibility ideographs and combining accents
// become the characters GBK holds, and the shortcut past the library agrees
// with the library.

#include "text/unicode_nfc.h"

#include <gtest/gtest.h>

#include "text/text_codec.h"
#include "tool_test_support.h"

namespace {

TEST(UnicodeNfc, GivesTheCharactersGbkHolds) {
    const std::pair<std::u8string, std::u8string> cases[] = {
        {u8"合情合\uF9E4", u8"合情合理"},  // compatibility ideograph
        {u8"一毛\uF967拔，\uF91F", u8"一毛不拔，蘭"},
        {u8"he\u0301 qi\u0301ng li\u030C lu\u0308", u8"hé qíng lǐ lü"},  // combining accents
        {u8"\u00E9\u0301", u8"\u00E9\u0301"},  // already composed, accent stays
    };
    for (const auto& [given, normal] : cases) {
        EXPECT_EQ(ToNfc(Bytes(given)), Bytes(normal));
        std::string gbk;
        EXPECT_EQ(Utf8ToGbk(ToNfc(Bytes(given)), gbk).ok(), given != u8"\u00E9\u0301");
    }
}

// Every character the shortcut passes stays itself after the library's NFC,
// even next to a combining accent before it in the text; a character just
// outside the ranges goes to the library.
TEST(UnicodeNfc, TheShortcutPassesOnlyWhatTheLibraryLeavesAlone) {
    std::string plain;
    for (char32_t c = 0x20; c < 0x10000; ++c) {
        char8_t bytes[4] = {};
        std::size_t length = 0;
        if (c < 0x80) {
            bytes[length++] = static_cast<char8_t>(c);
        } else if (c < 0x800) {
            bytes[length++] = static_cast<char8_t>(0xC0 | (c >> 6));
            bytes[length++] = static_cast<char8_t>(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            bytes[length++] = static_cast<char8_t>(0xE0 | (c >> 12));
            bytes[length++] = static_cast<char8_t>(0x80 | ((c >> 6) & 0x3F));
            bytes[length++] = static_cast<char8_t>(0x80 | (c & 0x3F));
        }
        const std::string character(reinterpret_cast<const char*>(bytes), length);
        if (length > 0 && IsPlainlyNfc(character)) {
            plain += "a" + character + Bytes(u8"か") + character;  // both compose with marks
        }
    }
    EXPECT_GT(plain.size(), 100000u);
    EXPECT_EQ(LibraryNfc(plain), plain);
    for (const std::u8string outside :
         {u8"\u0301", u8"\u2000", u8"\u302A", u8"\u3099", u8"\uF9E4"}) {
        EXPECT_FALSE(IsPlainlyNfc(Bytes(u8"甲") + Bytes(outside)));
    }
}

}  // namespace
