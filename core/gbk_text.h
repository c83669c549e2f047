#pragma once
// Character-wise operations on GBK byte strings.
//
// A byte 0x81-0xFE opens a two-byte character together with the next byte;
// every other byte is a character of its own. A lead byte at the very end of a
// string (a damaged line) counts as a one-byte character, so no operation ever
// looks past the end. Positions are byte offsets.

#include <cstddef>
#include <string>
#include <string_view>

namespace gbk {

inline constexpr std::size_t npos = std::string_view::npos;

// True for a byte that opens a two-byte character.
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Length in bytes of the character that starts at `pos` (1 or 2).
std::size_t CharLength(std::string_view text, std::size_t pos);

// Offset of the first match of `needle` that begins where a character of
// `text` begins, at or after `from` (which must itself be a boundary); npos if
// none.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);

// The first `count` bytes (all of `text` when it is shorter).
std::string Left(std::string_view text, std::size_t count);

// Removes the first `count` bytes (everything when it is shorter).
void DeletePrefix(std::string& text, std::size_t count);

// Replaces every character-aligned occurrence of `find`, left to right, never
// overlapping; scanning resumes after the inserted text.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Removes trailing space, tab, CR, LF, vertical tab and form feed. None of
// these can be the second byte of a GBK character, so no character is split.
void TrimRight(std::string& text);

// Length of `text` without its trailing white space (as TrimRight). Inline:
// the loader trims every line with it.
inline std::size_t TrimmedLength(std::string_view text) {
    std::size_t length = text.size();
    // Tab, LF, vertical tab, form feed and CR are the bytes 9 to 13.
    while (length > 0 && (text[length - 1] == ' ' ||
                          static_cast<unsigned char>(text[length - 1] - '\t') <= '\r' - '\t')) {
        --length;
    }
    return length;
}

}  // namespace gbk
