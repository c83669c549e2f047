#include "entry_fields.h"

#include "gbk_text.h"

namespace {

// Section markers, as GBK bytes.
constexpr std::string_view kSource = "\xB3\xF6\xB4\xA6";                     // 出处
constexpr std::string_view kExample = "\xCA\xBE\xC0\xFD";                    // 示例
constexpr std::string_view kNoExample = "\xCA\xBE\xC0\xFD\xA3\xBA\xCE\xDE";  // 示例：无
constexpr std::string_view kSourceBreak = "\r\n\r\n\xB3\xF6\xB4\xA6";
constexpr std::string_view kExampleBreak = "\r\n\xCA\xBE\xC0\xFD";

// True when the character at `pos` is a Chinese character, that is, anything
// but the end of the text, a one-byte character or a symbol from GBK rows
// A1-A9 (punctuation, full-width forms, box drawing).
bool IsChineseCharacterAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || gbk::CharLength(text, pos) == 1) {
        return false;
    }
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    return lead < 0xA1 || lead > 0xA9;
}

// Removes "示例：无" where it marks an empty example. Where a Chinese character
// follows, the example merely begins with 无 (示例：无论如何……) and stays,
// unless that character opens the next example marker.
std::string RemoveEmptyExamples(std::string_view text) {
    std::string result;
    std::size_t done = 0;
    std::size_t hit = gbk::Find(text, kNoExample);
    while (hit != gbk::npos) {
        const std::size_t after = hit + kNoExample.size();
        const bool nextIsMarker = text.substr(after).starts_with(kExample);
        if (!IsChineseCharacterAt(text, after) || nextIsMarker) {
            result.append(text, done, hit - done);
            done = after;
        }
        hit = gbk::Find(text, kNoExample, after);
    }
    result.append(text, done, gbk::npos);
    return result;
}

}  // namespace

std::string_view ClipToCharacters(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + gbk::CharLength(text, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

EntryFields SplitEntry(std::string_view entry, std::size_t maxFieldBytes) {
    // Views, not copies: an entry may be a hundred megabytes long.
    EntryFields fields;
    std::string_view rest = entry;

    const std::size_t space = gbk::Find(rest, " ");
    if (space != gbk::npos) {
        fields.idiom = ClipToCharacters(rest.substr(0, space), maxFieldBytes);
        rest.remove_prefix(space);
    }

    const std::size_t bracket = gbk::Find(rest, "]");
    if (bracket != gbk::npos) {
        fields.pronunciation = ClipToCharacters(rest.substr(0, bracket + 1), maxFieldBytes);
        rest.remove_prefix(bracket + 1);
    }

    fields.explanation = FormatExplanation(ClipToCharacters(rest, maxFieldBytes));
    return fields;
}

std::string FormatExplanation(std::string_view text) {
    const std::string withSource = gbk::ReplaceAll(text, kSource, kSourceBreak);
    const std::string withoutEmpty = RemoveEmptyExamples(withSource);
    return gbk::ReplaceAll(withoutEmpty, kExample, kExampleBreak);
}
