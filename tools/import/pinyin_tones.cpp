#include "import/pinyin_tones.h"

#include <array>
#include <vector>

namespace {

constexpr std::string_view kUmlaut = "ü";
constexpr std::string_view kCapitalUmlaut = "Ü";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One letter of a syllable, ü and v already made one.
struct Letter {
    char base;  // the ASCII letter, or 'v' for ü
    bool capital;
};

// The marked forms by tone 1-4, small and capital.
struct Marks {
    char base;
    std::array<std::string_view, 4> small;
    std::array<std::string_view, 4> capital;
};

constexpr Marks kVowels[] = {
    {'a', {"ā", "á", "ǎ", "à"}, {"Ā", "Á", "Ǎ", "À"}},
    {'e', {"ē", "é", "ě", "è"}, {"Ē", "É", "Ě", "È"}},
    {'i', {"ī", "í", "ǐ", "ì"}, {"Ī", "Í", "Ǐ", "Ì"}},
    {'o', {"ō", "ó", "ǒ", "ò"}, {"Ō", "Ó", "Ǒ", "Ò"}},
    {'u', {"ū", "ú", "ǔ", "ù"}, {"Ū", "Ú", "Ǔ", "Ù"}},
    {'v', {"ǖ", "ǘ", "ǚ", "ǜ"}, {"Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
    // Syllables without a vowel: only these have a character of their own.
    {'n', {"", "ń", "ň", "ǹ"}, {"", "Ń", "Ň", "Ǹ"}},
    {'m', {"", "ḿ", "", ""}, {"", "Ḿ", "", ""}},
};

const Marks* MarksOf(char base) {
    for (const Marks& marks : kVowels) {
        if (marks.base == base) {
            return &marks;
        }
    }
    return nullptr;
}

bool IsVowel(char base) {
    return base == 'a' || base == 'e' || base == 'i' || base == 'o' || base == 'u' || base == 'v';
}

// Which letter takes the mark: a or e; the o of "ou"; else the last vowel;
// a syllable of n or m alone (n, ng, m) takes it on that letter.
std::size_t MarkPlace(const std::vector<Letter>& letters) {
    std::size_t last = letters.size();
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char c = letters[i].base;
        if (c == 'a' || c == 'e') {
            return i;
        }
        if (c == 'o' && i + 1 < letters.size() && letters[i + 1].base == 'u') {
            return i;
        }
        if (IsVowel(c)) {
            last = i;
        }
    }
    if (last == letters.size() && !letters.empty() &&
        (letters[0].base == 'n' || letters[0].base == 'm')) {
        return 0;
    }
    return last;
}

// Reads the syllable starting at `pos` (letters, ü, u:) into `letters`;
// returns where it ends.
std::size_t ReadSyllable(std::string_view text, std::size_t pos, std::vector<Letter>& letters) {
    letters.clear();
    while (pos < text.size()) {
        const char c = text[pos];
        if (text.substr(pos).starts_with(kUmlaut) || text.substr(pos).starts_with(kCapitalUmlaut)) {
            letters.push_back({'v', text.substr(pos).starts_with(kCapitalUmlaut)});
            pos += kUmlaut.size();
        } else if ((c == 'u' || c == 'U') && pos + 1 < text.size() && text[pos + 1] == ':') {
            letters.push_back({'v', c == 'U'});
            pos += 2;
        } else if (IsAsciiLetter(c)) {
            const bool capital = c >= 'A' && c <= 'Z';
            letters.push_back({static_cast<char>(capital ? c - 'A' + 'a' : c), capital});
            ++pos;
        } else {
            break;
        }
    }
    return pos;
}

void AppendLetter(const Letter& letter, std::string& out) {
    if (letter.base == 'v') {
        out += letter.capital ? kCapitalUmlaut : kUmlaut;
    } else {
        out += letter.capital ? static_cast<char>(letter.base - 'a' + 'A') : letter.base;
    }
}

// The syllable with tone `tone` (1-5). False when the mark has no character
// (a syllable without a vowel other than n, ng, m): it is then written as given.
bool AppendMarked(const std::vector<Letter>& letters, int tone, std::string& out) {
    const std::size_t place = tone == 5 ? letters.size() : MarkPlace(letters);
    const Marks* marks = place < letters.size() ? MarksOf(letters[place].base) : nullptr;
    const std::string_view mark =
        marks == nullptr ? "" : (letters[place].capital ? marks->capital : marks->small)[tone - 1];
    if (tone != 5 && mark.empty()) {
        return false;
    }
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i == place) {
            out += mark;
        } else {
            AppendLetter(letters[i], out);
        }
    }
    return true;
}

bool HasToneNumbers(std::string_view pinyin) {
    // Most lists write marks: one look for a digit settles those.
    if (pinyin.find_first_of("0123456789") == std::string_view::npos) {
        return false;
    }
    std::vector<Letter> letters;
    for (std::size_t pos = 0; pos < pinyin.size();) {
        const std::size_t end = ReadSyllable(pinyin, pos, letters);
        if (end < pinyin.size() && !letters.empty() && IsDigit(pinyin[end])) {
            return true;
        }
        pos = end == pos ? pos + 1 : end;
    }
    return false;
}

}  // namespace

MarkedPinyin MarkTones(std::string_view pinyin) {
    MarkedPinyin result;
    if (!HasToneNumbers(pinyin)) {
        result.text.assign(pinyin);
        return result;
    }
    result.numbered = true;
    std::string& out = result.text;
    std::vector<Letter> letters;
    for (std::size_t pos = 0; pos < pinyin.size();) {
        const std::size_t end = ReadSyllable(pinyin, pos, letters);
        if (letters.empty()) {
            out += pinyin[pos++];  // a space, a hyphen, a byte of some other character
            continue;
        }
        std::size_t digits = end;
        while (digits < pinyin.size() && IsDigit(pinyin[digits])) {
            ++digits;
        }
        const std::string_view number = pinyin.substr(end, digits - end);
        if (number.size() > 1 || number == "0" || (number.size() == 1 && number[0] > '5')) {
            // Appended piece by piece: "\"" + std::string(...) draws a false
            // -Wrestrict from GCC 12.
            result.error.append("\"")
                .append(pinyin.substr(pos, digits - pos))
                .append("\" has the tone number ")
                .append(number)
                .append("; tones are 1 to 5");
            result.text.assign(pinyin);
            return result;
        }
        const int tone = number.empty() ? 5 : number[0] - '0';
        if (!AppendMarked(letters, tone, out)) {
            out.append(pinyin.substr(pos, digits - pos));
        }
        pos = digits;
    }
    return result;
}
