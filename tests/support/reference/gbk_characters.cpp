#include "reference/gbk_characters.h"

namespace reference {

namespace {

bool IsLeadByte(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace

std::vector<std::size_t> CharacterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); i += CharSize(text, i)) {
        starts.push_back(i);
    }
    return starts;
}

bool EndsOnWholeCharacter(std::string_view needle) {
    std::size_t last = 0;  // where the needle's last character starts
    for (std::size_t i = 0; i < needle.size(); i += CharSize(needle, i)) {
        last = i;
    }
    return needle.empty() || last + 1 < needle.size() || !IsLeadByte(needle[last]);
}

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= text.size() ? from : npos;
    }
    for (std::size_t i = 0; i < text.size(); i += CharSize(text, i)) {
        if (i >= from && StandsAt(text, i, needle)) {
            return i;
        }
    }
    return npos;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    std::string out;
    out.reserve(text.size());
    std::size_t kept = 0;  // text before this is in `out`
    std::size_t i = 0;
    while (i < text.size()) {
        if (!find.empty() && StandsAt(text, i, find)) {
            out.append(text.substr(kept, i - kept)).append(replacement);
            i += find.size();
            kept = i;
        } else {
            i += CharSize(text, i);
        }
    }
    return out.append(text.substr(kept));
}

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsTrailingSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace reference
