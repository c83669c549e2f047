#pragma once
// Reading an open idiom list, as JSON, CSV or TSV, into a record table.

#include <filesystem>
#include <string>
#include <string_view>

#include "import/record_table.h"
#include "text/list_encoding.h"

enum class ListFormat { kJson, kCsv, kTsv };

std::string_view FormatName(ListFormat format);  // "JSON", "CSV", "TSV"

// By the file's extension (.json, .csv, .tsv or .tab); otherwise JSON when
// the text opens with "[" or "{", TSV when its first line holds a tab, else CSV.
ListFormat DetectFormat(const std::filesystem::path& file, std::string_view text);

struct ListSource {
    ListFormat format = ListFormat::kJson;
    RecordTable table;
    std::string encoding;  // what the bytes were read as ("UTF-8", "GBK", ...)
    std::string error;     // "" when read; else what is wrong, with its line and column
};

// The file's bytes in `encoding` (see DecodeListText). A file of nothing
// but white space is an empty list in any format. `recordsKey` names the key
// of a JSON object that holds the records ("" to find it).
ListSource ReadListSource(const std::filesystem::path& file, std::string_view bytes,
                          ListEncoding encoding = ListEncoding::kDetect,
                          std::string_view recordsKey = {});
