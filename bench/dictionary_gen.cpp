#include "dictionary_gen.h"

#include <array>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace {

// Bump when the shape of the generated lines changes, so that files cached by
// an older build are not mistaken for the new ones.
constexpr int kFormatVersion = 1;
constexpr std::uint64_t kSeed = 0x5155454E4452494CULL;

// splitmix64: small, fast and the same everywhere (the standard
// distributions are not specified bit for bit across libraries).
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform enough for test data: the modulo bias is far below notice.
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }

private:
    std::uint64_t m_state;
};

// GBK punctuation (rows A1 and A3).
constexpr std::string_view kComma = "\xA3\xAC";            // ，
constexpr std::string_view kFullStop = "\xA1\xA3";         // 。
constexpr std::string_view kSemicolon = "\xA3\xBB";        // ；
constexpr std::string_view kColon = "\xA3\xBA";            // ：
constexpr std::string_view kEnumComma = "\xA1\xA2";        // 、
constexpr std::string_view kOpenQuote = "\xA1\xB0";        // “
constexpr std::string_view kCloseQuote = "\xA1\xB1";       // ”
constexpr std::string_view kOpenTitle = "\xA1\xB6";        // 《
constexpr std::string_view kCloseTitle = "\xA1\xB7";       // 》
constexpr std::string_view kMiddleDot = "\xA1\xA4";        // ·
constexpr std::string_view kSource = "\xB3\xF6\xB4\xA6";   // 出处
constexpr std::string_view kExample = "\xCA\xBE\xC0\xFD";  // 示例
constexpr std::string_view kNone = "\xCE\xDE";             // 无

// A hanzi from GB2312 level 1 (rows B0-D6, every cell of which is a
// character), the part of GBK that idiom text is almost entirely made of.
void AppendHanzi(std::string& out, Random& random) {
    out.push_back(static_cast<char>(0xB0 + random.Below(0xD6 - 0xB0 + 1)));
    out.push_back(static_cast<char>(0xA1 + random.Below(0xFE - 0xA1 + 1)));
}

void AppendHanziRun(std::string& out, Random& random, std::size_t low, std::size_t high) {
    for (std::size_t n = random.Between(low, high); n > 0; --n) {
        AppendHanzi(out, random);
    }
}

// Tone-marked vowels in GBK row A8: four tones of a, e, i, o, u, ü.
constexpr std::array<std::array<std::string_view, 4>, 6> kToneVowels = {{
    {"\xA8\xA1", "\xA8\xA2", "\xA8\xA3", "\xA8\xA4"},  // ā á ǎ à
    {"\xA8\xA5", "\xA8\xA6", "\xA8\xA7", "\xA8\xA8"},  // ē é ě è
    {"\xA8\xA9", "\xA8\xAA", "\xA8\xAB", "\xA8\xAC"},  // ī í ǐ ì
    {"\xA8\xAD", "\xA8\xAE", "\xA8\xAF", "\xA8\xB0"},  // ō ó ǒ ò
    {"\xA8\xB1", "\xA8\xB2", "\xA8\xB3", "\xA8\xB4"},  // ū ú ǔ ù
    {"\xA8\xB5", "\xA8\xB6", "\xA8\xB7", "\xA8\xB8"},  // ǖ ǘ ǚ ǜ
}};

constexpr std::array<std::string_view, 23> kInitials = {"b",  "p", "m", "f", "d", "t", "n",  "l",
                                                        "g",  "k", "h", "j", "q", "x", "zh", "ch",
                                                        "sh", "r", "z", "c", "s", "y", "w"};

// Finals with the index of the letter that carries the tone mark; 'v' stands
// for ü.
struct Final {
    std::string_view letters;
    std::size_t marked;
};
constexpr std::array<Final, 30> kFinals = {{
    {"a", 0},  {"o", 0},   {"e", 0},  {"i", 0},   {"u", 0},   {"v", 0},    {"ai", 0},  {"ei", 0},
    {"ao", 0}, {"ou", 0},  {"an", 0}, {"en", 0},  {"ang", 0}, {"eng", 0},  {"ong", 0}, {"ia", 1},
    {"ie", 1}, {"iao", 1}, {"iu", 1}, {"ian", 1}, {"in", 0},  {"iang", 1}, {"ing", 0}, {"ua", 1},
    {"uo", 1}, {"uai", 1}, {"ui", 1}, {"uan", 1}, {"un", 0},  {"ve", 1},
}};

std::size_t VowelRow(char letter) {
    switch (letter) {
        case 'a':
            return 0;
        case 'e':
            return 1;
        case 'i':
            return 2;
        case 'o':
            return 3;
        case 'u':
            return 4;
        default:
            return 5;  // 'v', that is ü
    }
}

void AppendSyllable(std::string& out, Random& random) {
    out.append(kInitials[random.Below(kInitials.size())]);
    const Final& final = kFinals[random.Below(kFinals.size())];
    const std::size_t tone = random.Below(5);  // 4: the neutral tone, no mark
    for (std::size_t i = 0; i < final.letters.size(); ++i) {
        const char letter = final.letters[i];
        if (i == final.marked && tone < 4) {
            out.append(kToneVowels[VowelRow(letter)][tone]);
        } else if (letter == 'v') {
            out.append("\xA8\xB9");  // ü
        } else {
            out.push_back(letter);
        }
    }
}

// A clause run: hanzi separated by commas and the odd 、 or ；, ended by 。
void AppendSentence(std::string& out, Random& random, std::size_t low, std::size_t high) {
    const std::size_t clauses = random.Between(2, 4);
    for (std::size_t c = 0; c < clauses; ++c) {
        if (c > 0) {
            const std::size_t pick = random.Below(8);
            out.append(pick == 0 ? kSemicolon : pick == 1 ? kEnumComma : kComma);
        }
        AppendHanziRun(out, random, low, high);
    }
    out.append(kFullStop);
}

std::string Entry(Random& random) {
    std::string out;
    AppendHanziRun(out, random, 4, 4);  // the idiom
    out.append(" [");
    for (int s = 0; s < 4; ++s) {
        if (s > 0) {
            out.push_back(' ');
        }
        AppendSyllable(out, random);
    }
    out.push_back(']');

    AppendSentence(out, random, 4, 9);
    if (random.Below(3) == 0) {
        AppendSentence(out, random, 3, 7);
    }

    out.append(kSource).append(kColon).append(kOpenTitle);
    AppendHanziRun(out, random, 1, 3);
    if (random.Below(2) == 0) {
        out.append(kMiddleDot);
        AppendHanziRun(out, random, 1, 3);
    }
    out.append(kCloseTitle);
    if (random.Below(2) == 0) {
        out.append(kColon).append(kOpenQuote);
        AppendHanziRun(out, random, 5, 14);
        out.append(kFullStop).append(kCloseQuote);
    } else {
        AppendSentence(out, random, 3, 8);
    }

    out.append(kExample).append(kColon);
    if (random.Below(10) < 4) {
        out.append(kNone);  // no example
    } else {
        AppendSentence(out, random, 4, 10);
    }
    return out;
}

}  // namespace

std::string MakeEntry(std::uint64_t seed, std::size_t index) {
    Random random(seed ^ (0xD1B54A32D192ED03ULL * (index + 1)));
    // Keep every line within the length of real entries; the draw repeats
    // from the same generator, so the choice stays deterministic.
    for (;;) {
        std::string entry = Entry(random);
        if (entry.size() >= 150 && entry.size() <= 298) {
            return entry;
        }
    }
}

GeneratedDictionary EnsureDictionary(const std::filesystem::path& directory, std::size_t entries) {
    GeneratedDictionary dictionary;
    dictionary.entries = entries;
    dictionary.path = directory / ("idioms-v" + std::to_string(kFormatVersion) + "-" +
                                   std::to_string(entries) + ".txt");

    std::error_code error;
    if (!std::filesystem::exists(dictionary.path, error)) {
        std::filesystem::create_directories(directory);
        const std::filesystem::path partial = dictionary.path.string() + ".partial";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            if (!out) {
                throw std::runtime_error("cannot write " + partial.string());
            }
            std::string block;
            block.reserve(std::size_t{1} << 22);
            for (std::size_t i = 0; i < entries; ++i) {
                block.append(MakeEntry(kSeed, i)).append("\r\n");
                if (block.size() >= (std::size_t{1} << 22) - 512) {
                    out.write(block.data(), static_cast<std::streamsize>(block.size()));
                    block.clear();
                }
            }
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            out.close();
            if (!out) {
                throw std::runtime_error("cannot write " + partial.string());
            }
        }
        std::filesystem::rename(partial, dictionary.path);
    }
    dictionary.bytes = std::filesystem::file_size(dictionary.path);
    return dictionary;
}
