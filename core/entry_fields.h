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

// Takes an entry apart into idiom, pronunciation and laid-out explanation.
EntryFields SplitEntry(std::string_view entry);

// Starts the source section after a blank line, drops an empty example
// ("示例：无") and starts the example section on a new line. Line breaks are
// CR LF, as a multi-line edit control expects.
std::string FormatExplanation(std::string_view text);
