// Fuzzes the cutting of an entry into its display fields, and the GBK string
// helpers underneath, against the reference model of the layout rules
// (tests/support/reference), which shares no code with the core: a fault in a
// core helper must not be copied into the yardstick it is measured with.
//
// The whole input is one entry, so the seed corpus is plain dictionary lines.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "entry_fields.h"
#include "gbk_text.h"
#include "reference/entry_layout.h"
#include "reference/gbk_characters.h"

namespace {

using reference::CharSize;
using reference::npos;
using reference::StandsAt;

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

// Puts into `undone` the explanation with the line breaks the layout puts
// before the markers taken out again; fails when one of them is missing.
void TakeOutInsertedBreaks(std::string_view explanation, std::string& undone) {
    undone.clear();
    std::size_t kept = 0;  // explanation before this is in `undone`
    std::size_t i = 0;
    auto takeOut = [&](std::string_view lineBreak, const char* what) {
        Check(
            i >= kept + lineBreak.size() && StandsAt(explanation, i - lineBreak.size(), lineBreak),
            what);
        undone.append(explanation.substr(kept, i - lineBreak.size() - kept));
        kept = i;
    };
    while (i < explanation.size()) {
        if (StandsAt(explanation, i, kSource)) {
            takeOut("\r\n\r\n", "a blank line precedes every source marker");
            i += kSource.size();
        } else if (StandsAt(explanation, i, kExample)) {
            takeOut("\r\n", "a line break precedes every example marker");
            i += kExample.size();
        } else {
            i += CharSize(explanation, i);
        }
    }
    undone.append(explanation.substr(kept));
}

// A looser property than the reference layout, one that does not depend on
// which "示例：无" count as empty: taking the inserted line breaks out again
// must give back the input with nothing but some whole "示例：无" missing.
void CheckExplanationShape(std::string_view input, std::string_view explanation) {
    // Kept from input to input: allocations are much of what a run costs.
    static std::string undone;
    static std::vector<std::size_t> reach;
    TakeOutInsertedBreaks(explanation, undone);

    // Every "示例：无" of the input may have been kept or dropped: follow all
    // ways at once, as the offsets into `undone` they lead to (kept sorted).
    reach.assign(1, 0);
    for (std::size_t i = 0; i < input.size();) {
        if (StandsAt(input, i, kNoExample)) {
            const std::size_t ways = reach.size();
            for (std::size_t k = 0; k < ways; ++k) {
                if (StandsAt(undone, reach[k], kNoExample)) {
                    reach.push_back(reach[k] + kNoExample.size());
                }
            }
            std::sort(reach.begin(), reach.end());
            reach.erase(std::unique(reach.begin(), reach.end()), reach.end());
            i += kNoExample.size();
        } else {
            // Every way moves on by the same character, or ends here.
            const std::string_view character = input.substr(i, CharSize(input, i));
            std::erase_if(reach, [&](std::size_t& at) {
                at += character.size();
                return !StandsAt(undone, at - character.size(), character);
            });
            i += character.size();
        }
        Check(!reach.empty(), "explanation keeps the input apart from whole empty examples");
    }
    Check(std::find(reach.begin(), reach.end(), undone.size()) != reach.end(),
          "explanation adds nothing but line breaks");
}

EntryFields CheckSplit(std::string_view entry) {
    EntryFields fields = SplitEntry(entry);
    const reference::Fields expected = reference::SplitEntry(entry);

    const std::string& idiom = fields.idiom;
    const std::string& pron = fields.pronunciation;
    Check(StandsAt(entry, 0, idiom) && StandsAt(entry, idiom.size(), pron),
          "idiom + pronunciation is a prefix of the entry");
    Check(reference::Find(idiom, " ") == npos, "the idiom holds no space character");
    Check(pron.empty() || pron.back() == ']', "the pronunciation is empty or ends in ']'");
    Check(idiom == expected.idiom, "the idiom ends at the first space");
    Check(pron == expected.pronunciation,
          "the pronunciation runs through the first ']' after the idiom");
    Check(fields.explanation == expected.explanation, "the explanation is laid out as modelled");

    if (reference::Find(entry, kSource) == npos && reference::Find(entry, kExample) == npos) {
        const std::string_view rest = entry.substr(idiom.size() + pron.size());
        Check(fields.explanation == rest, "without markers the three fields give back the entry");
    }
    return fields;
}

// The fields as shown, each cut to a limit: the input's last byte picks one
// small enough that most inputs are cut, often inside a character.
void CheckClippedSplit(std::string_view entry) {
    if (entry.empty()) return;
    const std::size_t limit = static_cast<unsigned char>(entry.back()) % 64;
    const EntryFields fields = SplitEntry(entry, limit);
    const reference::Fields expected = reference::SplitEntry(entry, limit);
    Check(fields.idiom == expected.idiom, "the idiom is cut to the limit as modelled");
    Check(fields.pronunciation == expected.pronunciation,
          "the pronunciation is cut to the limit as modelled");
    Check(fields.explanation == expected.explanation,
          "the explanation is cut to the limit, then laid out, as modelled");
    Check(ClipToCharacters(entry, limit) == reference::ClipToCharacters(entry, limit),
          "ClipToCharacters ends where a character ends");
}

std::string CheckFormat(std::string_view text) {
    std::string laidOut = FormatExplanation(text);
    Check(laidOut == reference::FormatExplanation(text), "FormatExplanation lays out as modelled");
    return laidOut;
}

void CheckGbkHelpers(std::string_view data) {
    std::vector<std::size_t> starts = reference::CharacterStarts(data);
    starts.push_back(data.size());
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        Check(gbk::CharLength(data, starts[k]) == starts[k + 1] - starts[k], "CharLength");
    }

    // Needles: the empty one; one of the markers the core looks for, or a
    // piece of the input; and a piece that starts where a character does. The
    // pieces hit both aligned and misaligned occurrences. The input picks the
    // marker or piece and each needle's replacement, so that the fuzzer
    // steers towards the pairs that matter: trying every pair on every input
    // made the core do the same searches a dozen times over.
    static constexpr std::string_view kMarkers[] = {kSource, kExample, kNoExample,
                                                    " ",     "]",      "\r\n"};
    const bool marker = data.size() % 2 == 0;
    std::string_view needles[3] = {"",
                                   marker ? kMarkers[data.size() / 2 % std::size(kMarkers)] : ""};
    std::string_view replacements[2] = {"\r\n", "\r\n"};
    if (data.size() >= 3) {
        const auto b0 = static_cast<unsigned char>(data[0]);
        const auto b1 = static_cast<unsigned char>(data[1]);
        const auto b2 = static_cast<unsigned char>(data[2]);
        if (!marker) {
            needles[1] = data.substr(b0 % data.size(), 1 + b1 % 8);
        }
        needles[2] = data.substr(starts[b2 % starts.size()], 1 + b0 % 4);
        replacements[1] = data.substr(b1 % data.size(), b2 % 6);
    }
    const std::size_t from =
        data.empty() ? 0 : starts[static_cast<unsigned char>(data.back()) % starts.size()];

    for (std::size_t k = 0; k < std::size(needles); ++k) {
        const std::string_view needle = needles[k];
        if (!reference::EndsOnWholeCharacter(needle)) {
            continue;
        }
        Check(gbk::Find(data, needle) == reference::Find(data, needle), "Find from the start");
        Check(gbk::Find(data, needle, from) == reference::Find(data, needle, from),
              "Find from a boundary");
        const std::string_view replacement =
            replacements[(k + data.size() / 7) % std::size(replacements)];
        Check(gbk::ReplaceAll(data, needle, replacement) ==
                  reference::ReplaceAll(data, needle, replacement),
              "ReplaceAll");
    }

    static std::string cut;
    for (std::size_t count : {std::size_t{0}, from, data.size(), data.size() + 3}) {
        Check(gbk::Left(data, count) == data.substr(0, std::min(count, data.size())), "Left");
        cut.assign(data);
        gbk::DeletePrefix(cut, count);
        Check(cut == data.substr(std::min(count, data.size())), "DeletePrefix");
    }

    for (std::string_view text : {data, data.substr(0, from)}) {
        const std::string_view expected = reference::TrimRight(text);
        cut.assign(text);
        gbk::TrimRight(cut);
        Check(cut == expected, "TrimRight");
        Check(gbk::TrimmedLength(text) == expected.size(), "TrimmedLength");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const EntryFields fields = CheckSplit(input);
    // Laid out whole, the input differs from its idiom and pronunciation
    // followed by the laid-out rest only where those hold a marker; elsewhere
    // SplitEntry has just shown the layout. The looser shape property guards
    // the reference layout, which the core's has just matched.
    const std::size_t headSize = fields.idiom.size() + fields.pronunciation.size();
    const std::string_view head = input.substr(0, headSize);
    if (reference::Find(head, kSource) != npos || reference::Find(head, kExample) != npos) {
        CheckExplanationShape(input, CheckFormat(input));
    } else {
        CheckExplanationShape(input.substr(headSize), fields.explanation);
    }
    CheckClippedSplit(input);
    CheckGbkHelpers(input);
    return 0;
}
