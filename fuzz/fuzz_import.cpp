// Fuzzes idiomtool import's reading of idiom lists (the hand-written CSV and
// TSV reader, and the JSON one over nlohmann's parser) and the making of
// dictionary lines: whatever the input, reading ends in a table or an error,
// and every line made is laid out as the program takes lines apart.
//
// The first byte picks the form (JSON, CSV, TSV), the encoding the file is
// read in (found, UTF-8, UTF-16, GBK), whether tone numbers are kept and
// whether the records are looked for under the key "idioms"; the rest is the
// file. JSON takes every shape: arrays of objects or of arrays, objects keyed
// by idiom, records under a key, fields given as arrays. Every field read is
// checked for NFC: the shortcut past the library must agree with the library.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "import/import_entry.h"
#include "import/import_fields.h"
#include "import/import_source.h"
#include "import/record_fields.h"
#include "text/unicode_nfc.h"

namespace {

constexpr std::string_view kSource = "出处";
constexpr std::string_view kExample = "示例：";

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_import: property violated: %s\n", what);
        __builtin_trap();
    }
}

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// The program cuts the idiom at the first space and the pinyin at the first
// "]" after it, and breaks the explanation before every 出处 and 示例.
void CheckLayout(std::string_view line) {
    for (char c : line) {
        Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "no control byte in a line");
    }
    const std::size_t space = line.find(' ');
    Check(space != std::string_view::npos && space > 0, "an idiom before the first space");
    Check(line.substr(0, space).find_first_of("[]") == std::string_view::npos,
          "no bracket in the idiom");
    Check(line.substr(space + 1, 1) == "[", "the pinyin opens right after the idiom");
    const std::size_t close = line.find(']', space);
    Check(close != std::string_view::npos, "a ] ends the pinyin");
    Check(line.substr(space + 2, close - space - 2).find('[') == std::string_view::npos,
          "no [ inside the pinyin");
    const std::string_view rest = line.substr(close + 1);
    Check(Count(rest, "示例") == 1 && Count(rest, kExample) == 1, "one example section");
    const std::size_t sources = Count(rest, kSource);
    Check(sources == 0 || (sources == 1 && rest.find(kSource) < rest.find(kExample)),
          "at most one source section, before the example");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* names[] = {"list.json", "list.csv", "list.tsv"};
    const ListEncoding encodings[] = {ListEncoding::kDetect, ListEncoding::kUtf8,
                                      ListEncoding::kUtf16, ListEncoding::kGb18030};
    EntryOptions options;
    options.keepToneNumbers = (data[0] / 12) % 2 != 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view recordsKey = data[0] / 24 % 2 ? "idioms" : "";
    ListSource source =
        ReadListSource(names[data[0] % 3], text, encodings[(data[0] / 3) % 4], recordsKey);
    if (!source.error.empty()) {
        return 0;
    }
    RecordTable& table = source.table;
    for (const auto& cells : table.records) {
        Check(cells.size() <= table.keys.size(), "no cell without a key");
    }
    Check(table.lines.size() == table.records.size(), "a line for every record");
    for (std::size_t i = 1; i < table.lines.size(); ++i) {
        Check(table.lines[i - 1] <= table.lines[i], "records in the order of their lines");
    }
    // The usual names where the list has them, else the first columns.
    FieldMap map;
    std::string error;
    if (!ResolveFields(table, {}, map, error)) {
        for (std::size_t r = 0; r < kRoleCount && !table.keys.empty(); ++r) {
            map[r] = r % table.keys.size();
        }
    }
    const std::string described = DescribeFields(table, map);
    const std::optional<ShortRecord> tooShort = FindShortRecord(table, map);
    Check(!tooShort || table.shape == RecordShape::kPositional, "only arrays are short");
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        if (tooShort && i == tooShort->record) {
            continue;
        }
        RecordFields fields;
        std::string refusal;
        if (!TakeRecordFields(table.records[i], map, fields, refusal)) {
            Check(!refusal.empty(), "a refused field says why");
            continue;
        }
        for (const std::string& field : fields) {
            const std::string normal = ToNfc(field);
            Check(normal == LibraryNfc(field), "the NFC shortcut agrees with the library");
            Check(ToNfc(normal) == normal, "NFC text stays as it is");
        }
        const ImportedEntry entry = ComposeEntry(fields, options);
        Check(!entry.line.empty() + !entry.skipped.empty() + !entry.malformed.empty() == 1,
              "a line, a reason to skip, or a reason to stop");
        if (!entry.line.empty()) {
            CheckLayout(entry.line);
        }
    }
    return 0;
}
