#pragma once
// Cutting one entry into its display fields, and laying out the explanation.

#include <string>
#include <string_view>

// The three display strings of one entry (GBK).
struct EntryFields {
    std::string idiom;          // up to the first space
    std::string pronunciation;  // from that space through the first "]" after it
    std::string explanation;    // the rest, laid out by FormatExplanation
};

// No field is shown longer than this. Real explanations run to a few hundred
// characters; a damaged or hostile line can hold millions without a break,
// which edit controls lay out in time growing with the square of the length
// (or not at all).
inline constexpr std::size_t kMaxShownFieldBytes = 8 * 1024;

// Takes an entry apart into idiom, pronunciation and laid-out explanation.
// With `maxFieldBytes`, each field is first cut, at a character boundary, to at
// most that many bytes (the explanation before it is laid out).
EntryFields SplitEntry(std::string_view entry, std::size_t maxFieldBytes = std::string_view::npos);

// The longest start of `text`, ending at a character boundary, of at most
// `maxBytes` bytes.
std::string_view ClipToCharacters(std::string_view text, std::size_t maxBytes);

// Starts the source section after a blank line, drops an empty example
// ("示例：无") and starts the example section on a new line. Line breaks are
// CR LF, as a multi-line edit control expects.
std::string FormatExplanation(std::string_view text);
