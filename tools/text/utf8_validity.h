#pragma once
// Whether bytes are well-formed UTF-8, as the Unicode standard's table of
// well-formed byte sequences has it: no overlong forms, no surrogates,
// nothing past U+10FFFF, no sequence cut short.

#include <cstddef>
#include <string_view>

// The offset of the first byte that starts no well-formed character, or
// std::string_view::npos when `text` is all well formed. Written out here
// rather than asked of iconv, which takes several times as long on the
// ten-megabyte lists import reads.
std::size_t FindInvalidUtf8(std::string_view text);
