#include "text/gbk_validity.h"

#include <cstdio>

#include "gbk_text.h"

namespace {

bool IsTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

std::string Hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

}  // namespace

GbkFault FindGbkFault(std::string_view text, std::size_t from) {
    std::size_t pos = from;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            ++pos;
            continue;
        }
        if (!gbk::IsLeadByte(byte)) {
            return {pos, true, "byte " + Hex(byte) + " cannot stand alone"};
        }
        if (pos + 1 >= text.size()) {
            return {pos, true, "lead byte " + Hex(byte) + " ends the line without a second byte"};
        }
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        if (!IsTrailByte(trail)) {
            return {pos, true,
                    "lead byte " + Hex(byte) + " is followed by " + Hex(trail) +
                        ", which cannot end a character"};
        }
        pos += 2;
    }
    return {};
}
