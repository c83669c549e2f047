#pragma once
// One record's fields taken out of the table by the field map: a JSON array
// of texts joined into one field, a value that is no text refused.
//
// The items of an array are trimmed and blank ones dropped, then joined so
// that they read right in the program's one-line field: pinyin with a space
// (syllables, or readings); explanation, source and example with "；", the
// full-width semicolon Chinese dictionaries part senses and examples with,
// except after an item that ends in Chinese punctuation (。！？；…，、： or
// one of them before a closing quote), which is followed directly, and after one
// ending in an ASCII . ! ? or ;, which is followed by a space. An idiom is
// one text: an array of one is that text, of more is refused.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "import/import_entry.h"
#include "import/import_fields.h"
#include "import/record_table.h"

// The items of an array as one field of `role`; false with `refusal` when
// the role takes no list.
bool JoinItems(const std::vector<std::string>& items, Role role, std::string& joined,
               std::string& refusal);

// Moves the record's fields out of `cells`. False with `refusal` ("its
// example is an object, not text") when a field cannot be made text.
bool TakeRecordFields(std::vector<RecordCell>& cells, const FieldMap& map, RecordFields& fields,
                      std::string& refusal);

// In a list of arrays, the first record too short for a position the map
// names, with that role; `count` gets how many records are too short.
struct ShortRecord {
    std::size_t record = 0;
    Role role = Role::kIdiom;
    std::size_t count = 0;
};
std::optional<ShortRecord> FindShortRecord(const RecordTable& table, const FieldMap& map);
