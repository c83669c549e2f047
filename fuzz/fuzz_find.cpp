// Fuzzes looking idioms up: any list, any text. The ranks by characters are
// checked against a plain model built on the reference's character walk
// (tests/support/reference); every result against the rules of order that
// hold whatever matched: each entry once, ranks never better further down,
// list order within a rank, and a shorter limit giving the start of the same
// answer.
//
// The input's first line is the text looked for, the other lines the list.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "idiom_finder.h"
#include "reference/gbk_characters.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_find: property violated: %s\n", what);
        __builtin_trap();
    }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The characters of `text`, one-byte letters lowercased.
std::vector<std::string> FoldedCharacters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t start : reference::CharacterStarts(text)) {
        std::string c(text.substr(start, reference::CharSize(text, start)));
        if (c.size() == 1) c[0] = Lower(c[0]);
        characters.push_back(c);
    }
    return characters;
}

// What the idiom (the entry up to its first space) says of `text`, if
// anything: equal, starts with, or holds it from a later character.
std::optional<MatchRank> ExpectedIdiomRank(std::string_view entry,
                                           const std::vector<std::string>& text) {
    std::string_view idiom;
    for (std::size_t start : reference::CharacterStarts(entry)) {
        if (entry[start] == ' ') {
            idiom = entry.substr(0, start);
            break;
        }
    }
    const std::vector<std::string> characters = FoldedCharacters(idiom);
    for (std::size_t at = 0; at + text.size() <= characters.size(); ++at) {
        std::size_t k = 0;
        while (k < text.size() && characters[at + k] == text[k]) ++k;
        if (k < text.size()) continue;
        if (at > 0) return MatchRank::kIdiomContains;
        return characters.size() == text.size() ? MatchRank::kIdiomEqual : MatchRank::kIdiomPrefix;
    }
    return std::nullopt;
}

bool ByCharacters(MatchRank rank) { return rank <= MatchRank::kIdiomContains; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    std::string_view text = input.substr(0, lineEnd);
    IdiomList list;
    for (std::size_t pos = lineEnd; pos != std::string_view::npos && pos < input.size();) {
        const std::size_t next = input.find('\n', pos + 1);
        list.push_back(
            input.substr(pos + 1, next == std::string_view::npos ? next : next - pos - 1));
        pos = next;
    }

    const IdiomFinder finder(list);
    const FindResult all = finder.Find(text, list.size() + 1);
    Check(all.total == all.matches.size(), "an unlimited answer lists every match");
    std::vector<bool> seen(list.size(), false);
    for (std::size_t i = 0; i < all.matches.size(); ++i) {
        const FindMatch& match = all.matches[i];
        Check(match.entry < list.size(), "a match names an entry");
        Check(!seen[match.entry], "an entry is listed once");
        seen[match.entry] = true;
        if (i > 0) {
            const FindMatch& before = all.matches[i - 1];
            Check(before.rank <= match.rank, "better ranks come first");
            Check(before.rank != match.rank || before.entry < match.entry,
                  "list order within a rank");
        }
    }

    // The ranks by characters, against the model, on the text as the finder
    // trims it.
    while (!text.empty() && (text.back() == ' ' || (text.back() >= '\t' && text.back() <= '\r'))) {
        text.remove_suffix(1);
    }
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    const std::vector<std::string> folded = FoldedCharacters(text);
    std::vector<std::optional<MatchRank>> found(list.size());
    for (const FindMatch& match : all.matches) found[match.entry] = match.rank;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::optional<MatchRank> expected =
            text.empty() ? std::nullopt : ExpectedIdiomRank(list[i], folded);
        if (expected) {
            Check(found[i] == expected, "an idiom holding the text has its rank");
        } else {
            Check(!found[i] || !ByCharacters(*found[i]), "no rank by characters without a match");
        }
    }

    const std::size_t limit = size % 5;
    const FindResult some = finder.Find(input.substr(0, lineEnd), limit);
    Check(some.total == all.total, "the count does not depend on the limit");
    Check(some.matches.size() == std::min(limit, all.total), "the limit is kept");
    for (std::size_t i = 0; i < some.matches.size(); ++i) {
        Check(some.matches[i].entry == all.matches[i].entry, "a limit keeps the best matches");
    }
    return 0;
}
