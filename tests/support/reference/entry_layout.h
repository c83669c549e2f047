#pragma once
// How an entry is cut into the three fields on show, and how the explanation
// is laid out, written as one walk over the characters.

#include <cstddef>
#include <string>
#include <string_view>

#include "reference/gbk_characters.h"

namespace reference {

struct Fields {
    std::string_view idiom;  // parts of the entry
    std::string_view pronunciation;
    std::string explanation;
};

// The longest start of `text` that ends where a character ends and holds at
// most `maxBytes` bytes.
std::string_view ClipToCharacters(std::string_view text, std::size_t maxBytes);

// The explanation laid out: a blank line (CR LF CR LF) before every "出处", a
// line break (CR LF) before every "示例", and an empty example "示例：无"
// dropped. "示例：无" stays, as the start of an example, when a Chinese
// character follows it that is not the start of "出处" or "示例"
// (示例：无论如何……).
std::string FormatExplanation(std::string_view text);

// The idiom runs up to the first space; the pronunciation from that space (or
// from the start, without one) through the first "]" after it, and is empty
// without such a "]"; the explanation is the rest, laid out. With
// `maxFieldBytes`, each field is first clipped to that many bytes.
Fields SplitEntry(std::string_view entry, std::size_t maxFieldBytes = npos);

}  // namespace reference
