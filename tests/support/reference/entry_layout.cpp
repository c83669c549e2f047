#include "reference/entry_layout.h"

namespace reference {

namespace {

constexpr std::string_view kSource = "\xB3\xF6\xB4\xA6";                     // 出处
constexpr std::string_view kExample = "\xCA\xBE\xC0\xFD";                    // 示例
constexpr std::string_view kNoExample = "\xCA\xBE\xC0\xFD\xA3\xBA\xCE\xDE";  // 示例：无

// GBK rows A1-A9 hold punctuation, full-width forms, pinyin letters and box
// drawing; every other two-byte character counts as a Chinese one.
bool ChineseCharacterAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || CharSize(text, pos) == 1) {
        return false;
    }
    const unsigned char row = static_cast<unsigned char>(text[pos]);
    return !(row >= 0xA1 && row <= 0xA9);
}

bool EmptyExampleEndsAt(std::string_view text, std::size_t after) {
    return !ChineseCharacterAt(text, after) || StandsAt(text, after, kSource) ||
           StandsAt(text, after, kExample);
}

}  // namespace

std::string_view ClipToCharacters(std::string_view text, std::size_t maxBytes) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size() && i + CharSize(text, i) <= maxBytes;
         i += CharSize(text, i)) {
        end = i + CharSize(text, i);
    }
    return text.substr(0, end);
}

std::string FormatExplanation(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    std::size_t i = 0;
    while (i < text.size()) {
        if (StandsAt(text, i, kSource)) {
            out.append("\r\n\r\n").append(kSource);
            i += kSource.size();
        } else if (StandsAt(text, i, kNoExample)) {
            i += kNoExample.size();
            if (!EmptyExampleEndsAt(text, i)) {
                out.append("\r\n").append(kNoExample);
            }
        } else if (StandsAt(text, i, kExample)) {
            out.append("\r\n").append(kExample);
            i += kExample.size();
        } else {
            out.append(text.substr(i, CharSize(text, i)));
            i += CharSize(text, i);
        }
    }
    return out;
}

Fields SplitEntry(std::string_view entry, std::size_t maxFieldBytes) {
    // Without a space the pronunciation starts at the start; a "]" before the
    // space belongs to the idiom.
    const std::size_t space = Find(entry, " ");
    const std::size_t pronunciation = space == npos ? 0 : space;
    const std::size_t bracket = Find(entry, "]", pronunciation);
    const std::size_t explanation = bracket == npos ? pronunciation : bracket + 1;

    Fields fields;
    fields.idiom = ClipToCharacters(entry.substr(0, pronunciation), maxFieldBytes);
    fields.pronunciation =
        ClipToCharacters(entry.substr(pronunciation, explanation - pronunciation), maxFieldBytes);
    fields.explanation =
        FormatExplanation(ClipToCharacters(entry.substr(explanation), maxFieldBytes));
    return fields;
}

}  // namespace reference
