#include "gbk_text.h"

#include <cstring>

namespace gbk {

std::size_t CharLength(std::string_view text, std::size_t pos) {
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) {
        return 2;
    }
    return 1;
}

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from <= text.size() ? from : npos;
    }
    const unsigned char first = static_cast<unsigned char>(needle[0]);
    std::size_t pos = from;
    while (pos + needle.size() <= text.size()) {
        // Skip quickly over characters whose first byte cannot start a match;
        // the loop still steps character by character.
        if (static_cast<unsigned char>(text[pos]) == first &&
            std::memcmp(text.data() + pos, needle.data(), needle.size()) == 0) {
            return pos;
        }
        pos += CharLength(text, pos);
    }
    return npos;
}

std::string Left(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, count));
}

void DeletePrefix(std::string& text, std::size_t count) {
    text.erase(0, count < text.size() ? count : text.size());
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string result;
    std::size_t done = 0;
    std::size_t hit = Find(text, find);
    while (hit != npos) {
        // Reserve lazily: most texts hold no or few markers.
        if (result.empty()) {
            result.reserve(text.size() + replacement.size());
        }
        result.append(text, done, hit - done);
        result.append(replacement);
        done = hit + find.size();
        // Resume at a character boundary, even after a pattern that ends in
        // half a character.
        std::size_t resume = hit;
        while (resume < done) {
            resume += CharLength(text, resume);
        }
        hit = Find(text, find, resume);
    }
    result.append(text, done, npos);
    return result;
}

void TrimRight(std::string& text) { text.resize(TrimmedLength(text)); }

}  // namespace gbk
