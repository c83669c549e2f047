#pragma once
// Single characters of text already known to be valid UTF-8, for naming the
// characters that GBK cannot hold.

#include <cstddef>
#include <string>
#include <string_view>

// Bytes of the character that starts at `pos`: the lead byte and the
// continuation bytes (10xxxxxx) after it.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

// The code point of one whole character.
char32_t Utf8CodePoint(std::string_view character);

// "U+20AC": at least four hex digits, as Unicode charts write it.
std::string FormatCodePoint(char32_t codePoint);
