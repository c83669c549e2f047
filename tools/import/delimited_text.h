#pragma once
// CSV and TSV as RFC 4180 writes them: a field in double quotes may hold the
// delimiter, line breaks and quotes (written twice). A quote is special only
// at the start of a field, so an unquoted 他说"好" reads as it stands. TSV
// has no quoting of its own: there a quote opens a quoted field only when
// the whole field is quoted, and is otherwise text like any other.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "import/record_table.h"

struct DelimitedRow {
    std::vector<std::string> fields;
    std::size_t offset = 0;  // of the row's first byte
};

struct DelimitedText {
    std::vector<DelimitedRow> rows;  // blank lines (or only spaces and tabs) are left out
    TableError error;
};

// CR LF, LF and a lone CR all end a row outside quotes; the last row needs
// no line end.
DelimitedText ParseDelimited(std::string_view text, char delimiter);

// The first row names the columns; every other row is a record with as many
// fields as there are names.
TableError ReadDelimitedTable(std::string_view text, char delimiter, RecordTable& table);
