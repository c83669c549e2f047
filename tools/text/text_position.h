#pragma once
// Where a byte offset lies in a text, as an editor shows it to a person.

#include <cstddef>
#include <string>
#include <string_view>

struct TextPosition {
    std::size_t line = 1;    // counted from 1; LF, CR LF and a lone CR each end a line
    std::size_t column = 1;  // characters (UTF-8 lead bytes) from 1
};

// The position of byte `offset` of `text`; past the end it is the end's.
TextPosition PositionOf(std::string_view text, std::size_t offset);

// "line L, column C".
std::string DescribePosition(const TextPosition& position);
