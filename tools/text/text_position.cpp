#include "text/text_position.h"

TextPosition PositionOf(std::string_view text, std::size_t offset) {
    TextPosition position;
    const std::size_t end = offset < text.size() ? offset : text.size();
    for (std::size_t i = 0; i < end; ++i) {
        const char c = text[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++position.line;
            position.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++position.column;  // continuation bytes belong to the character before
        }
    }
    return position;
}

std::string DescribePosition(const TextPosition& position) {
    return "line " + std::to_string(position.line) + ", column " + std::to_string(position.column);
}
