#pragma once
// Whether GBK bytes are well formed: every byte 0x81-0xFE opens a character
// whose second byte is 0x40-0x7E or 0x80-0xFE; 0x80 and 0xFF never stand
// alone. Only the shape is judged, not whether a code is assigned.

#include <cstddef>
#include <string>
#include <string_view>

struct GbkFault {
    std::size_t offset = 0;  // where the bad byte sits
    bool found = false;
    std::string description;  // what is wrong there, for a person
};

// The first malformed place at or after `from`, which must start a character.
GbkFault FindGbkFault(std::string_view text, std::size_t from = 0);

// The byte where the search for the next fault resumes after `fault`: the
// byte after the bad one, so a stray lead byte does not hide the next
// character.
inline std::size_t ResumeAfter(const GbkFault& fault) { return fault.offset + 1; }
