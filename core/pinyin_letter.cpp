#include "pinyin_letter.h"

#include <iterator>

#include "gbk_text.h"

namespace {

// GBK's pinyin letters from A8A1 on, in code order: base letter and tone.
struct LetterCode {
    char base;
    std::uint8_t tone;
};
constexpr LetterCode kGbkPinyinLetters[] = {
    {'a', 1}, {'a', 2}, {'a', 3}, {'a', 4},  // ā á ǎ à
    {'e', 1}, {'e', 2}, {'e', 3}, {'e', 4},  // ē é ě è
    {'i', 1}, {'i', 2}, {'i', 3}, {'i', 4},  // ī í ǐ ì
    {'o', 1}, {'o', 2}, {'o', 3}, {'o', 4},  // ō ó ǒ ò
    {'u', 1}, {'u', 2}, {'u', 3}, {'u', 4},  // ū ú ǔ ù
    {'v', 1}, {'v', 2}, {'v', 3}, {'v', 4},  // ǖ ǘ ǚ ǜ
    {'v', 0}, {'e', 0}, {'a', 0},            // ü ê ɑ
    {'m', 2}, {'n', 2}, {'n', 3}, {'n', 4},  // ḿ ń ň ǹ
    {'g', 0},                                // ɡ
};
constexpr unsigned char kGbkPinyinLead = 0xA8;
constexpr unsigned char kGbkPinyinFirstTrail = 0xA1;

}  // namespace

PinyinLetter ReadPinyinLetter(std::string_view text, std::size_t pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 'a' && byte <= 'z') {
        return {static_cast<char>(byte), 0, 1};
    }
    if (byte >= 'A' && byte <= 'Z') {
        return {static_cast<char>(byte - 'A' + 'a'), 0, 1};
    }
    if (byte == kGbkPinyinLead && gbk::CharLength(text, pos) == 2) {
        const auto index = static_cast<unsigned char>(text[pos + 1]) - kGbkPinyinFirstTrail;
        if (index >= 0 && index < static_cast<int>(std::size(kGbkPinyinLetters))) {
            const LetterCode code = kGbkPinyinLetters[index];
            return {code.base, code.tone, 2};
        }
    }
    return {};
}
