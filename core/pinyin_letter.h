#pragma once
// The letters of a pronunciation as GBK writes them: plain ASCII letters, and
// GBK's own two-byte pinyin letters (A8A1-A8C0: the vowels with tone marks,
// ü, ê, and the rarer ɑ, ḿ, ń, ň, ǹ, ɡ), each read as its base letter and
// tone, so that "yú", "yu" and "YU" compare alike.

#include <cstddef>
#include <cstdint>
#include <string_view>

struct PinyinLetter {
    char base = 0;            // 'a'-'z'; ü in any tone is 'v', as keyboards type it
    std::uint8_t tone = 0;    // 1-4 for a tone mark, 0 for none
    std::uint8_t length = 0;  // bytes the letter takes in the text: 1 or 2
};

// The pinyin letter at `pos` of GBK `text`, or one with length 0 when the
// character there is not a letter.
PinyinLetter ReadPinyinLetter(std::string_view text, std::size_t pos);

// True when a letter typed as `typed` stands for the letter `written` of a
// pronunciation: the same base letter, or a plain "u" typed for ü; a typed
// tone must be the written one, a typed letter without one matches any tone.
constexpr bool TypedLetterMatches(PinyinLetter typed, PinyinLetter written) {
    const bool sameBase = typed.base == written.base || (typed.base == 'u' && written.base == 'v');
    return sameBase && (typed.tone == 0 || typed.tone == written.tone);
}
