#pragma once
// An idiom list as a JSON array of objects, one object per record.

#include <string_view>

#include "import/record_table.h"

// Reads `text` (valid UTF-8) into `table`: every key met in any object is a
// column. Strings are taken as they are, numbers and true/false as JSON
// writes them, null as empty; arrays and objects are marked as no text.
TableError ReadJsonTable(std::string_view text, RecordTable& table);
