// idiomtool import: a dictionary the program shows right from an open idiom
// list in JSON, CSV or TSV.

#include <ostream>

#include "commands/command_args.h"
#include "commands/commands.h"
#include "dictionary/dictionary_convert.h"
#include "commands/command_files.h"
#include "import/import_entry.h"
#include "import/import_fields.h"
#include "import/import_source.h"
#include "dictionary/unencodable_report.h"

namespace {

constexpr char kHelp[] =
    R"(usage: idiomtool import IN OUT [--fields ROLE=KEY,...] [--encoding NAME]
                              [--keep-tone-numbers] [--skip-unencodable]

Makes OUT, a dictionary the idiom program reads (GBK, CR LF line ends), from
IN, an idiom list in one of these forms:
  JSON  an array of objects: [{"word": "...", "pinyin": "...", ...}, ...]
  CSV   comma-separated, with a header row naming the columns (RFC 4180:
        fields in double quotes may hold commas, line breaks and "" for ")
  TSV   the same with tabs; there a quote is text unless it quotes a
        whole field
The form is taken from IN's extension (.json, .csv, .tsv), else from its text.

IN may be saved as UTF-8 (with or without a byte order mark), as UTF-16
with a byte order mark, or as GBK/GB18030, the "ANSI" that Excel and
Notepad save on a Chinese Windows: bytes that are not UTF-8 are read as
GBK. --encoding NAME names it instead: utf-8, utf-16, gbk or gb18030.

Each record becomes the line
  IDIOM [PINYIN]EXPLANATION出处：SOURCE示例：EXAMPLE
without 出处 when the source is empty, and with 示例：无 when the example is.
Line breaks, tabs and runs of white space in a field become one space.
Text is brought to Unicode NFC first, so that look-alike compatibility
ideographs and letters with combining accents become the characters GBK
holds. Pinyin written with tone numbers (a record's pinyin in which some
syllable ends in a digit, such as "a1 bi2 di4 yu4" or "lv3") gets tone
marks: "ā bí dì yù", "lǚ"; 5 or no number is the neutral tone, v and u: are
ü. --keep-tone-numbers writes such pinyin as it is. A tone number that is
no tone (0, 6-9) stops the import with its record.

The fields are found by their usual names (word or idiom, pinyin,
explanation or meaning, derivation or source, example, or the Chinese 成语,
拼音, 释义, 出处, 示例, ...). Name others with --fields, for example
  idiomtool import list.csv 成语.txt --fields idiom=chengyu,explanation=jieshi
Idiom, pinyin and explanation are needed; source and example may be missing.

What the program would lay out wrongly is reported with its record number:
a space or square bracket in the idiom and a square bracket in the pinyin
are written so that they show right (an ideographic space, full-width
brackets); a record whose explanation, source or example holds 出处 or 示例,
or which has no idiom, is skipped. Characters GBK cannot hold are listed and
nothing is written, unless --skip-unencodable is given: then their records
are left out. IN is never changed; OUT is written under a temporary name
and renamed into place.

Exit status: 0 when OUT was written, 1 when IN holds characters GBK cannot
hold, 2 on a bad command line, malformed input (with its line and column)
or a file that cannot be read or written.
)";

constexpr char kFieldsOption[] = "--fields";
constexpr char kEncodingOption[] = "--encoding";
constexpr char kKeepToneNumbersOption[] = "--keep-tone-numbers";

struct ImportOptions {
    FieldChoice fields;
    ListEncoding encoding = ListEncoding::kDetect;
    EntryOptions entry;
    bool skipUnencodable = false;
};

// "OPTION VALUE" and "OPTION=VALUE" are taken out before the rest is sorted,
// so that VALUE is not read as a file name; `take` reads each VALUE.
template <class Take>
bool TakeValuedOption(Args& args, const std::string& option, const char* needs, Take take,
                      std::string& error) {
    const std::string withValue = option + "=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (args[i] == option) {
            if (i + 1 == args.size()) {
                error = option + " needs " + needs;
                return false;
            }
            value = args[i + 1];
            args.erase(args.begin() + i, args.begin() + i + 2);
        } else if (args[i].starts_with(withValue)) {
            value = args[i].substr(withValue.size());
            args.erase(args.begin() + i);
        } else {
            continue;
        }
        --i;
        if (!take(value)) {
            return false;
        }
    }
    return true;
}

bool TakeOptions(Args& args, ImportOptions& options, std::string& error) {
    return TakeValuedOption(
               args, kFieldsOption, "ROLE=KEY pairs",
               [&](const std::string& value) {
                   return ParseFieldChoice(value, options.fields, error);
               },
               error) &&
           TakeValuedOption(
               args, kEncodingOption, "a name (utf-8, utf-16, gbk)",
               [&](const std::string& value) {
                   if (!ParseListEncoding(value, options.encoding)) {
                       error = "unknown encoding \"" + value + "\" (utf-8, utf-16, gbk or gb18030)";
                       return false;
                   }
                   return true;
               },
               error);
}

// "record 12", and its line for a delimited file, where records can span lines.
std::string RecordName(const RecordTable& table, std::size_t index) {
    std::string name = "record " + std::to_string(index + 1);
    if (index < table.lines.size()) {
        name += " (line " + std::to_string(table.lines[index]) + ")";
    }
    return name;
}

struct Composed {
    std::vector<std::string> lines;     // UTF-8, one per written record
    std::vector<std::size_t> recordOf;  // the record of each line, by index
    std::size_t fixed = 0;
    std::size_t skipped = 0;
};

// Takes the cells' text, which is not needed after. On a malformed record
// `malformed` says which and why, and nothing more is composed.
Composed ComposeAll(RecordTable& table, const FieldMap& map, const EntryOptions& options,
                    std::string& malformed, std::ostream& err) {
    Composed composed;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        std::vector<RecordCell>& cells = table.records[i];
        RecordFields fields;
        std::string notText;
        for (std::size_t r = 0; r < kRoleCount; ++r) {
            if (!map[r] || *map[r] >= cells.size()) {
                continue;
            }
            RecordCell& cell = cells[*map[r]];
            if (cell.notText && notText.empty()) {
                notText = "its " + std::string(RoleName(static_cast<Role>(r))) + " is " +
                          cell.notText + ", not text";
            }
            fields[r] = std::move(cell.text);
        }
        ImportedEntry entry = notText.empty() ? ComposeEntry(std::move(fields), options)
                                              : ImportedEntry{"", notText, "", {}};
        if (!entry.malformed.empty()) {
            malformed = RecordName(table, i) + ": " + entry.malformed;
            return composed;
        }
        for (const std::string& fix : entry.fixes) {
            err << RecordName(table, i) << ": " << fix << "\n";
        }
        if (!entry.skipped.empty()) {
            err << RecordName(table, i) << ": skipped: " << entry.skipped << "\n";
            ++composed.skipped;
            continue;
        }
        composed.fixed += !entry.fixes.empty();
        composed.lines.push_back(std::move(entry.line));
        composed.recordOf.push_back(i);
    }
    return composed;
}

int Import(const InputAndOutput& files, const ImportOptions& options, std::ostream& out,
           std::ostream& err) {
    const std::string& inName = files.inName;
    const std::string& outName = files.outName;
    std::string bytes;
    if (!ReadInputFor(files, bytes, err)) {
        return kExitUsage;
    }
    ListSource source = ReadListSource(files.inPath, bytes, options.encoding);
    bytes = {};  // the table holds all it needs
    if (!source.error.empty()) {
        err << "idiomtool: " << inName << ": " << source.error << "; nothing written\n";
        return kExitUsage;
    }
    const std::string format(FormatName(source.format));
    if (source.table.records.empty()) {
        if (!WriteOutput(files, "", err)) {
            return kExitUsage;
        }
        out << "wrote " << outName << ": empty, as the " << format << " list " << inName
            << " holds no records\n";
        return kExitOk;
    }

    FieldMap map;
    std::string error;
    if (!ResolveFields(source.table.keys, options.fields, map, error)) {
        err << "idiomtool: " << inName << ": " << error << "\n";
        return kExitUsage;
    }
    out << "fields: " << DescribeFields(source.table.keys, map) << "\n";
    std::string malformed;
    const Composed composed = ComposeAll(source.table, map, options.entry, malformed, err);
    if (!malformed.empty()) {
        err << "idiomtool: " << inName << ": " << malformed << "; nothing written\n";
        return kExitUsage;
    }

    const ConvertOutcome outcome = ConvertLinesToGbk(
        std::vector<std::string_view>(composed.lines.begin(), composed.lines.end()),
        options.skipUnencodable);
    ListUnencodable(
        outcome,
        [&](std::size_t line) { return RecordName(source.table, composed.recordOf[line - 1]); },
        err);
    if (outcome.status != ConvertStatus::kOk) {
        RefuseUnencodable(outcome, outName, "records", err);
        return kExitProblems;
    }
    if (!WriteOutput(files, outcome.gbk, err)) {
        return kExitUsage;
    }
    out << "wrote " << outName << ": " << Counted(outcome.entries, "entry", "entries")
        << " in GBK from " << Counted(source.table.records.size(), "record", "records") << " of "
        << format << " (" << source.encoding << ")";
    if (composed.fixed > 0) {
        out << "; " << composed.fixed << " written so that they show right";
    }
    if (composed.skipped > 0) {
        out << "; skipped " << composed.skipped << " that would show wrongly";
    }
    if (outcome.skipped > 0) {
        out << "; skipped " << outcome.skipped << " with characters GBK cannot hold";
    }
    out << "\n";
    return kExitOk;
}

}  // namespace

int RunImport(const Args& args, std::ostream& out, std::ostream& err) {
    Args rest = args;
    ImportOptions options;
    std::string error;
    if (!TakeOptions(rest, options, error)) {
        return UsageError(err, "import", error);
    }
    const SortedArgs sorted = SortArgs(rest);
    if (sorted.help) {
        out << kHelp;
        return kExitOk;
    }
    for (const std::string& option : sorted.options) {
        if (option == kSkipUnencodableOption) {
            options.skipUnencodable = true;
        } else if (option == kKeepToneNumbersOption) {
            options.entry.keepToneNumbers = true;
        } else {
            return UsageError(err, "import", "unknown option " + option);
        }
    }
    if (sorted.operands.size() != 2) {
        return UsageError(
            err, "import",
            sorted.operands.size() < 2 ? "IN and OUT are needed" : "too many arguments");
    }
    return Import(NameFiles(sorted.operands[0], sorted.operands[1]), options, out, err);
}
