// Fuzzes the cutting of an entry into its display fields, and the GBK string
// helpers underneath, against slow models written out here character by
// character. The models share no code with the core on purpose: a fault in a
// core helper must not be copied into the yardstick it is measured with.
//
// The whole input is one entry, so the seed corpus is plain dictionary lines.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "entry_fields.h"
#include "gbk_text.h"

namespace {

constexpr std::size_t kNpos = std::string_view::npos;

constexpr std::string_view kSource = "\xB3\xF6\xB4\xA6";                     // 出处
constexpr std::string_view kExample = "\xCA\xBE\xC0\xFD";                    // 示例
constexpr std::string_view kNoExample = "\xCA\xBE\xC0\xFD\xA3\xBA\xCE\xDE";  // 示例：无

// Prints which property broke, so that a crash report says more than "trap".
void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_entry: property violated: %s\n", what);
        __builtin_trap();
    }
}

// --- Reference GBK model ---------------------------------------------------

bool RefIsLead(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

// Length of the character at `pos`: a lead byte takes the next byte along,
// unless it is the last byte of the text.
std::size_t RefCharLen(std::string_view text, std::size_t pos) {
    return RefIsLead(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// Every character start, followed by text.size().
std::vector<std::size_t> RefBoundaries(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += RefCharLen(text, i)) {
        starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

bool BytesAt(std::string_view text, std::size_t pos, std::string_view what) {
    return pos <= text.size() && text.substr(pos, what.size()) == what;
}

// A needle whose own last character is complete. Only such needles are
// meaningful for character-wise search: one ending in half a character would
// swallow the first byte of the character that follows a match.
bool EndsOnWholeCharacter(std::string_view needle) {
    if (needle.empty()) {
        return true;
    }
    const std::vector<std::size_t> starts = RefBoundaries(needle);
    const std::size_t last = starts[starts.size() - 2];
    return !(needle.size() - last == 1 && RefIsLead(needle[last]));
}

// `starts` is RefBoundaries(text), worked out once by the caller.
std::size_t RefFind(std::string_view text, const std::vector<std::size_t>& starts,
                    std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return from;
    }
    for (std::size_t start : starts) {
        if (start >= from && start < text.size() && BytesAt(text, start, needle)) {
            return start;
        }
    }
    return kNpos;
}

std::size_t RefFind(std::string_view text, std::string_view needle) {
    return RefFind(text, RefBoundaries(text), needle, 0);
}

std::string RefReplaceAll(std::string_view text, const std::vector<std::size_t>& starts,
                          std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string out;
    std::size_t resume = 0;  // matches may not overlap the previous one
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        const std::size_t pos = starts[k];
        if (pos < resume) {
            continue;
        }
        if (BytesAt(text, pos, find)) {
            out.append(replacement);
            resume = pos + find.size();
        } else {
            out.append(text.substr(pos, starts[k + 1] - pos));
            resume = starts[k + 1];
        }
    }
    return out;
}

bool RefIsTrimmable(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string RefTrimRight(std::string_view text) {
    std::string out(text);
    while (!out.empty() && RefIsTrimmable(out.back())) {
        out.pop_back();
    }
    return out;
}

// --- Reference explanation layout -----------------------------------------

// A two-byte character outside the symbol rows A1-A9 (punctuation, full-width
// forms, pinyin letters, box drawing) is a Chinese character.
bool RefIsHanziAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || RefCharLen(text, pos) != 2) {
        return false;
    }
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    return lead < 0xA1 || lead > 0xA9;
}

// The laid-out explanation, built in one walk over the characters. "示例：无"
// is an empty example unless a Chinese character carries on the example
// (示例：无论如何……); a source or example marker right after it does not
// carry it on, since each of those starts a section of its own.
std::string RefFormat(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (BytesAt(text, i, kSource)) {
            out.append("\r\n\r\n").append(kSource);
            i += kSource.size();
        } else if (BytesAt(text, i, kNoExample)) {
            const std::size_t after = i + kNoExample.size();
            const bool empty = !RefIsHanziAt(text, after) || BytesAt(text, after, kSource) ||
                               BytesAt(text, after, kExample);
            if (!empty) {
                out.append("\r\n").append(kNoExample);
            }
            i = after;
        } else if (BytesAt(text, i, kExample)) {
            out.append("\r\n").append(kExample);
            i += kExample.size();
        } else {
            const std::size_t length = RefCharLen(text, i);
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

// A looser property that does not depend on which "示例：无" count as empty:
// taking the inserted line breaks out again must give back the input with
// nothing but some whole "示例：无" missing.
void CheckExplanationShape(std::string_view input, std::string_view explanation) {
    std::string undone;
    for (std::size_t i = 0; i < explanation.size();) {
        if (BytesAt(explanation, i, kSource)) {
            Check(undone.size() >= 4 && undone.compare(undone.size() - 4, 4, "\r\n\r\n") == 0,
                  "a blank line precedes every source marker");
            undone.resize(undone.size() - 4);
            undone.append(kSource);
            i += kSource.size();
        } else if (BytesAt(explanation, i, kExample)) {
            Check(undone.size() >= 2 && undone.compare(undone.size() - 2, 2, "\r\n") == 0,
                  "a line break precedes every example marker");
            undone.resize(undone.size() - 2);
            undone.append(kExample);
            i += kExample.size();
        } else {
            const std::size_t length = RefCharLen(explanation, i);
            undone.append(explanation.substr(i, length));
            i += length;
        }
    }

    // Every "示例：无" of the input may have been kept or dropped: follow all
    // ways at once, as the offsets into `undone` they lead to.
    std::vector<std::size_t> reach{0};
    std::vector<std::size_t> next;
    for (std::size_t i = 0; i < input.size();) {
        next.clear();
        if (BytesAt(input, i, kNoExample)) {
            for (std::size_t at : reach) {
                next.push_back(at);
                if (BytesAt(undone, at, kNoExample)) {
                    next.push_back(at + kNoExample.size());
                }
            }
            i += kNoExample.size();
        } else {
            const std::string_view character = input.substr(i, RefCharLen(input, i));
            for (std::size_t at : reach) {
                if (BytesAt(undone, at, character)) {
                    next.push_back(at + character.size());
                }
            }
            i += character.size();
        }
        std::sort(next.begin(), next.end());
        next.erase(std::unique(next.begin(), next.end()), next.end());
        reach.swap(next);
        Check(!reach.empty(), "explanation keeps the input apart from whole empty examples");
    }
    Check(std::find(reach.begin(), reach.end(), undone.size()) != reach.end(),
          "explanation adds nothing but line breaks");
}

// --- Properties ---------------------------------------------------------

void CheckSplit(std::string_view entry) {
    const EntryFields fields = SplitEntry(entry);
    const std::vector<std::size_t> starts = RefBoundaries(entry);

    const std::string head = fields.idiom + fields.pronunciation;
    Check(BytesAt(entry, 0, head), "idiom + pronunciation is a prefix of the entry");

    for (std::size_t start : starts) {
        if (start < fields.idiom.size()) {
            Check(entry[start] != ' ', "the idiom holds no space character");
        }
    }

    const std::string& pron = fields.pronunciation;
    Check(pron.empty() || pron.back() == ']', "the pronunciation is empty or ends in ']'");

    // The first space fixes the idiom; without one the idiom is empty and the
    // pronunciation runs from the start of the entry.
    std::size_t space = kNpos;
    for (std::size_t start : starts) {
        if (start < entry.size() && entry[start] == ' ') {
            space = start;
            break;
        }
    }
    const std::size_t pronStart = space == kNpos ? 0 : space;
    Check(fields.idiom == entry.substr(0, pronStart), "the idiom ends at the first space");
    std::size_t bracket = kNpos;
    for (std::size_t start : starts) {
        if (start >= pronStart && start < entry.size() && entry[start] == ']') {
            bracket = start;
            break;
        }
    }
    const std::string_view expected =
        bracket == kNpos ? std::string_view() : entry.substr(pronStart, bracket + 1 - pronStart);
    Check(pron == expected, "the pronunciation runs through the first ']' after the idiom");

    const std::string_view rest = entry.substr(std::min(head.size(), entry.size()));
    Check(fields.explanation == RefFormat(rest), "the explanation is laid out as modelled");
    CheckExplanationShape(rest, fields.explanation);

    if (RefFind(entry, kSource) == kNpos && RefFind(entry, kExample) == kNpos) {
        Check(head + fields.explanation == entry,
              "without markers the three fields give back the entry");
    }
}

void CheckFormat(std::string_view text) {
    const std::string laidOut = FormatExplanation(text);
    Check(laidOut == RefFormat(text), "FormatExplanation lays out as modelled");
    CheckExplanationShape(text, laidOut);
}

void CheckGbkHelpers(std::string_view data) {
    const std::vector<std::size_t> starts = RefBoundaries(data);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        Check(gbk::CharLength(data, starts[k]) == starts[k + 1] - starts[k], "CharLength");
    }

    // Needles: the markers the core looks for, and pieces of the input itself,
    // which hit both aligned and misaligned occurrences.
    std::vector<std::string> needles = {
        std::string(kSource), std::string(kExample), std::string(kNoExample), " ", "]", "\r\n", ""};
    std::vector<std::string> replacements = {"\r\n"};
    if (data.size() >= 3) {
        const auto b0 = static_cast<unsigned char>(data[0]);
        const auto b1 = static_cast<unsigned char>(data[1]);
        const auto b2 = static_cast<unsigned char>(data[2]);
        needles.emplace_back(data.substr(b0 % data.size(), 1 + b1 % 8));
        needles.emplace_back(data.substr(starts[b2 % starts.size()], 1 + b0 % 4));
        replacements.emplace_back(data.substr(b1 % data.size(), b2 % 6));
    }
    const std::size_t from =
        data.empty() ? 0 : starts[static_cast<unsigned char>(data.back()) % starts.size()];

    for (const std::string& needle : needles) {
        if (!EndsOnWholeCharacter(needle)) {
            continue;
        }
        Check(gbk::Find(data, needle) == RefFind(data, starts, needle, 0), "Find from the start");
        Check(gbk::Find(data, needle, from) == RefFind(data, starts, needle, from),
              "Find from a boundary");
        for (const std::string& replacement : replacements) {
            Check(gbk::ReplaceAll(data, needle, replacement) ==
                      RefReplaceAll(data, starts, needle, replacement),
                  "ReplaceAll");
        }
    }

    for (std::size_t count : {std::size_t{0}, from, data.size(), data.size() + 3}) {
        Check(gbk::Left(data, count) == data.substr(0, std::min(count, data.size())), "Left");
        std::string cut(data);
        gbk::DeletePrefix(cut, count);
        Check(cut == data.substr(std::min(count, data.size())), "DeletePrefix");
    }

    for (std::string_view text : {data, data.substr(0, from)}) {
        const std::string expected = RefTrimRight(text);
        std::string trimmed(text);
        gbk::TrimRight(trimmed);
        Check(trimmed == expected, "TrimRight");
        Check(gbk::TrimmedLength(text) == expected.size(), "TrimmedLength");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckSplit(input);
    CheckFormat(input);
    CheckGbkHelpers(input);
    return 0;
}
