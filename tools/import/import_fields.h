#pragma once
// Which column of an imported list holds which part of an entry: found from
// the names lists usually give them, or named on the command line.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Role { kIdiom, kPinyin, kExplanation, kSource, kExample };
inline constexpr std::size_t kRoleCount = 5;

// "idiom", "pinyin", "explanation", "source", "example": the names --fields takes.
std::string_view RoleName(Role role);

// Keys named with --fields, by role; "" where the usual names are to be tried.
using FieldChoice = std::array<std::string, kRoleCount>;

// Reads "idiom=KEY,pinyin=KEY,..." into `choice`; on failure `error` says why.
bool ParseFieldChoice(std::string_view option, FieldChoice& choice, std::string& error);

// The column of each role, when the list has one.
using FieldMap = std::array<std::optional<std::size_t>, kRoleCount>;

// Finds each role's column among `keys`: the key named for it, else the
// first of its usual names (ASCII letters in any case). The idiom, pinyin
// and explanation must be found; source and example may be missing.
bool ResolveFields(const std::vector<std::string>& keys, const FieldChoice& choice, FieldMap& map,
                   std::string& error);

// "idiom=word, pinyin=pinyin, ..., example=(none)", to tell what was used.
std::string DescribeFields(const std::vector<std::string>& keys, const FieldMap& map);
