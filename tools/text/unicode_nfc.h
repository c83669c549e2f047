#pragma once
// Unicode normalisation form C: the one spelling of text that looks the same.
// Lists copied from web pages hold CJK compatibility ideographs (U+F900-
// U+FAFF) that look exactly like everyday characters, and letters followed
// by a combining accent; GBK holds their canonical equivalents, so text is
// brought to NFC before it is encoded. The work is done by the platform's
// library (NormalizeString on Windows, utf8proc elsewhere).

#include <string>
#include <string_view>

// `utf8` (valid UTF-8) in NFC. Text made only of characters that are NFC
// whatever surrounds them (ASCII, Latin-1, CJK ideographs, most CJK
// punctuation) is returned as it is without calling the library.
std::string ToNfc(std::string_view utf8);

// True when every character of `utf8` is of that kind.
bool IsPlainlyNfc(std::string_view utf8);

// Whether one character is of that kind, for code that decodes the text
// for reasons of its own.
bool IsPlainlyNfcCharacter(char32_t c);

// The library's NFC of `utf8`, always asked; text it cannot take (invalid
// UTF-8) comes back unchanged.
std::string LibraryNfc(std::string_view utf8);
