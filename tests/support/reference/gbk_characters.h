#pragma once
// GBK text taken character by character, the slow and plain way.
//
// A byte 0x81-0xFE and the byte after it, whatever that is, make one
// character; a lead byte with nothing after it, and every other byte, stands
// alone. Searches match only where a character begins.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

inline constexpr std::size_t npos = std::string_view::npos;

// Bytes in the character that starts at `pos` (1 or 2).
inline std::size_t CharSize(std::string_view text, std::size_t pos) {
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    return byte >= 0x81 && byte <= 0xFE && pos + 1 < text.size() ? 2 : 1;
}

// Where each character of `text` starts, in order.
std::vector<std::size_t> CharacterStarts(std::string_view text);

// True when the bytes of `what` stand in `text` from `pos` on. Byte by byte
// rather than memcmp: the fuzzer watches every memcmp, and these comparisons
// are the yardstick's, not the code's under test. (Inline: it runs at every
// character of every text the tests look at.)
inline bool StandsAt(std::string_view text, std::size_t pos, std::string_view what) {
    if (pos > text.size() || text.size() - pos < what.size()) {
        return false;
    }
    for (std::size_t k = 0; k < what.size(); ++k) {
        if (text[pos + k] != what[k]) {
            return false;
        }
    }
    return true;
}

// True when `needle` read on its own does not end in half a character. Only
// such needles are searched for: one ending in a lead byte would take the
// first byte of the character after a match as its second half.
bool EndsOnWholeCharacter(std::string_view needle);

// The first character start at or after `from` where `needle` stands; npos if
// there is none. An empty needle stands at `from`.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);

// Every match of `find` (which ends on a whole character), left to right and
// never overlapping, replaced; the search goes on after each match.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Space, tab, CR, LF, vertical tab and form feed: what trimming takes away.
bool IsTrailingSpace(char c);

// `text` without the trailing white space.
std::string_view TrimRight(std::string_view text);

}  // namespace reference
