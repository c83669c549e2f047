#pragma once
// Telling a person which characters GBK cannot hold, the same way for every
// command that writes a GBK dictionary.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "dictionary/dictionary_convert.h"

inline constexpr char kSkipUnencodableOption[] = "--skip-unencodable";

// One line for each character: "WHERE: "€" U+20AC cannot be written in GBK",
// WHERE being `where` of the character's line in the converted text; at
// most `limit` lines. Returns how many characters were not listed.
std::size_t ListUnencodable(const ConvertOutcome& outcome,
                            const std::function<std::string(std::size_t line)>& where,
                            std::ostream& err, std::size_t limit = SIZE_MAX);

// The refusal after the list: nothing was written, and what the option to
// skip would leave out (`units`: "lines", "records").
void RefuseUnencodable(const ConvertOutcome& outcome, const std::string& outName, const char* units,
                       std::ostream& err);
