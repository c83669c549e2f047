#pragma once
// Turning a dictionary edited as UTF-8 (or UTF-16) into the GBK file with
// CR LF line ends that the program reads.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding_sniff.h"

struct UnencodableChar {
    std::size_t line = 0;   // counted from 1
    std::string character;  // UTF-8
    char32_t codePoint = 0;
};

enum class ConvertStatus {
    kOk,
    kInvalidInput,  // not valid UTF-8 / UTF-16: nothing to write
    kUnencodable,   // characters GBK cannot hold, and skipping was not asked for
};

struct ConvertOutcome {
    ConvertStatus status = ConvertStatus::kOk;
    FileEncoding source = FileEncoding::kUtf8;
    std::string gbk;                           // the finished dictionary, when kOk
    std::size_t entries = 0;                   // lines in `gbk`
    std::size_t skipped = 0;                   // lines left out for characters GBK cannot hold
    std::vector<UnencodableChar> unencodable;  // every such character, in order
    std::size_t errorLine = 0;                 // where invalid input starts (from 1)
    std::size_t errorOffset = 0;               // its byte offset in the input file
};

// Converts a whole file's bytes. UTF-16 (by byte order mark or NUL pattern)
// is read as such, anything else as UTF-8 with an optional byte order mark.
// CR LF, LF and a lone CR all end a line. A character that GBK cannot hold,
// or holds only as a byte the program takes for damage, refuses the whole
// conversion unless `skipUnencodable`, which leaves out its lines instead.
ConvertOutcome ConvertToGbk(std::string_view bytes, bool skipUnencodable);

// The same for text already taken apart into lines of valid UTF-8, none of
// which holds a line break.
ConvertOutcome ConvertLinesToGbk(const std::vector<std::string_view>& lines, bool skipUnencodable);
