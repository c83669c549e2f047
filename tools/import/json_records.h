#pragma once
// An idiom list in JSON, in the shapes lists are published in:
//   [{"word": "...", ...}, ...]          an array of objects, one per record
//   [["...", "..."], ...]                an array of arrays: fields by position
//   {"一毛不拔": {...}, ...}              an object keyed by idiom
//   {"version": 2, "idioms": [...]}      the records under one key
// The records under a key are those of `recordsKey`, or, when it is empty,
// of the one member holding an array of objects or of arrays (or the one
// array, when no member holds an object); an object with neither is keyed
// by idiom.

#include <string_view>

#include "import/record_table.h"

// Reads `text` (valid UTF-8) into `table`, with each record's line: every key
// met in any object is a column. Strings are taken as they are, numbers and
// true/false as JSON writes them, null as empty; an array of such values
// keeps them as items; objects, and arrays holding more than text, are
// marked as no text.
TableError ReadJsonTable(std::string_view text, RecordTable& table,
                         std::string_view recordsKey = {});
