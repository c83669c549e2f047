#pragma once
// Which column of an imported list holds which part of an entry: found from
// the names lists usually give them, or named on the command line.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/record_table.h"

enum class Role { kIdiom, kPinyin, kExplanation, kSource, kExample };
inline constexpr std::size_t kRoleCount = 5;

// "idiom", "pinyin", "explanation", "source", "example": the names --fields takes.
std::string_view RoleName(Role role);

// Keys named with --fields, by role: none where the usual names are to be
// tried, "" where the list has no such field.
using FieldChoice = std::array<std::optional<std::string>, kRoleCount>;

// Reads "idiom=KEY,pinyin=KEY,explanation=,..." into `choice`; on failure
// `error` says why. Only the idiom cannot be declared missing.
bool ParseFieldChoice(std::string_view option, FieldChoice& choice, std::string& error);

// The column of each role, when the list has one.
using FieldMap = std::array<std::optional<std::size_t>, kRoleCount>;

// Finds each role's column: the key named for it, else the first of its
// usual names (ASCII letters in any case). In a list keyed by idiom the key
// is the idiom unless another field is named. In a list of arrays the
// fields have no names: the roles named by position are those it has, and
// the idiom must be among them. Otherwise the idiom, pinyin and explanation
// must be found or declared missing; `error` names every role that is not,
// in one message.
bool ResolveFields(const RecordTable& table, const FieldChoice& choice, FieldMap& map,
                   std::string& error);

// "idiom=word, pinyin=pinyin, explanation=explanation (passed over:
// meaning), source=(none), example=example; unused: id, meaning": what was
// used, what else looked like a role's field, and the columns not used.
std::string DescribeFields(const RecordTable& table, const FieldMap& map);
