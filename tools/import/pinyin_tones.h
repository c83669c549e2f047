#pragma once
// Pinyin written with tone numbers ("a1 bi2 di4 yu4", "lv3") made into the
// tone marks the program shows ("ā bí dì yù", "lǚ").

#include <string>
#include <string_view>

struct MarkedPinyin {
    std::string text;       // with tone marks; `pinyin` as given when it has no numbers
    bool numbered = false;  // whether `pinyin` was written with tone numbers
    std::string error;      // "" or why it cannot be read, e.g. a tone number 6
};

// Pinyin counts as written with numbers when some syllable (a run of
// letters, ü or u:) is followed by a digit; then every syllable in it is
// read so: 1-4 are the four tones, 5 or no number the neutral tone, and v
// and u: are ü. The mark goes on a or e; in "ou" on the o; otherwise on the
// last vowel. n and m alone take it themselves where a character exists
// (ń ň ǹ ḿ). Any other number (0, 6-9, or two digits) is an error, and the
// text is then returned as given.
MarkedPinyin MarkTones(std::string_view pinyin);
