#pragma once
// An idiom list as read from JSON, CSV or TSV, before its fields are known:
// named columns and one row of cells per record.

#include <cstddef>
#include <string>
#include <vector>

struct RecordCell {
    std::string text;               // UTF-8
    const char* notText = nullptr;  // "an array", "an object": a value that is no text
};

struct RecordTable {
    std::vector<std::string> keys;                 // column names, in the order first seen
    std::vector<std::vector<RecordCell>> records;  // cells by key; a missing cell is empty
    std::vector<std::size_t> lines;                // each record's first line, when known
};

// Where reading stopped on malformed input: a byte offset in the text read.
struct TableError {
    std::string message;  // "" when the text was read whole
    std::size_t offset = 0;
    bool hasOffset = true;  // false for faults of the list's shape, which have no one place

    bool failed() const { return !message.empty(); }
};
