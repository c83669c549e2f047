#pragma once
// Finding what would make the program show a dictionary wrongly.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding_sniff.h"

enum class ProblemKind {
    kWrongEncoding,  // the whole file is UTF-8 or UTF-16
    kNoEntries,
    kInvalidGbk,
    kNulByte,
    kCarriageReturn,  // a CR without LF inside a line
    kEmptyEntry,
    kNoSpace,
    kEmptyIdiom,
    kNoClosingBracket,
    kAsciiColonExample,
};

struct CheckProblem {
    ProblemKind kind;
    std::size_t line = 0;        // counted from 1; 0 for the whole file
    std::size_t lineOffset = 0;  // byte offset of the line's start
    std::string message;         // UTF-8, without the line and offset
};

struct CheckReport {
    std::size_t entries = 0;  // as the program's loader counts them
    FileEncoding encoding = FileEncoding::kGbk;
    std::vector<CheckProblem> problems;
};

// Loads `bytes` with the program's own reader and reports each line that it
// would show wrongly. A file in another encoding is reported once as a whole,
// since its lines cannot be judged as GBK.
CheckReport CheckDictionary(std::string_view bytes);
