#pragma once
// An idiom list as read from JSON, CSV or TSV, before its fields are known:
// named columns and one row of cells per record.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct RecordCell {
    std::string text;  // UTF-8
    // A JSON array of texts, joined once its role is known; apart, as few
    // lists have them and a large list's cells should stay small.
    std::unique_ptr<std::vector<std::string>> items;
    const char* notText = nullptr;  // "an object", "an array holding an object": no text
};

enum class RecordShape {
    kNamed,         // objects or a header row: columns have names
    kPositional,    // JSON arrays: columns are positions, named "0", "1", ...
    kKeyedByIdiom,  // a JSON object of objects: column 0 holds each record's key
};

struct RecordTable {
    RecordShape shape = RecordShape::kNamed;
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
