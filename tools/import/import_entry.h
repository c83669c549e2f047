#pragma once
// One imported record made into a dictionary line (UTF-8) that the program
// shows right:
//   IDIOM [PINYIN]EXPLANATION出处：SOURCE示例：EXAMPLE
// with no 出处 section for an empty source and "示例：无" for an empty example.

#include <array>
#include <string>
#include <vector>

#include "import/import_fields.h"

using RecordFields = std::array<std::string, kRoleCount>;  // UTF-8, by Role

struct ImportedEntry {
    std::string line;                // empty when the record is skipped
    std::string skipped;             // why it is left out, "" when written
    std::string malformed;           // why the list cannot be read at this record, "" if it can
    std::vector<std::string> fixes;  // each change made so that it shows right
};

struct EntryOptions {
    bool keepToneNumbers = false;  // pinyin such as "a1 bi2" is written as given
};

// White space in a field (line breaks and tabs too) becomes single spaces,
// trimmed at both ends. Text the program would lay out wrongly is written in
// a form that shows right where one exists: a space in the idiom, which
// would end it, becomes an ideographic space, and ASCII square brackets in
// the idiom or pinyin become full-width ones. A "出处" or "示例" inside the
// explanation, source or example cannot be written so that the program does
// not break the line there: such a record is skipped, as is one without an
// idiom or with a control character.
//
// Every field is first brought to Unicode NFC, so that a compatibility
// ideograph or a letter with a combining accent becomes the character GBK
// holds. Pinyin written with tone numbers gets tone marks (see MarkTones)
// unless `options` keeps the numbers; a tone number that is no tone makes
// the record malformed.
ImportedEntry ComposeEntry(RecordFields fields, const EntryOptions& options = {});
