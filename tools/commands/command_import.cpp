// idiomtool import: a dictionary the program shows right from an open idiom
// list in JSON, CSV or TSV.

#include <functional>
#include <optional>
#include <ostream>

#include "commands/command_args.h"
#include "commands/commands.h"
#include "dictionary/dictionary_convert.h"
#include "commands/command_files.h"
#include "import/import_entry.h"
#include "import/import_fields.h"
#include "import/import_source.h"
#include "import/record_fields.h"
#include "commands/import_report.h"
#include "dictionary/unencodable_report.h"

namespace {

constexpr char kHelp[] =
    R"(usage: idiomtool import IN OUT [--fields ROLE=KEY,...] [--records KEY]
                              [--encoding NAME] [--keep-tone-numbers]
                              [--skip-unencodable]

Makes OUT, a dictionary the idiom program reads (GBK, CR LF line ends), from
IN, an idiom list in one of these forms:
  JSON  an array of objects: [{"word": "...", "pinyin": "...", ...}, ...]
        an array of arrays, fields by position: [["...", "..."], ...]
        an object keyed by idiom: {"一毛不拔": {"pinyin": "...", ...}, ...}
        any of these under a key: {"idioms": [...]}, found when the object
        holds one array of records, else named with --records KEY
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
Line breaks, tabs and runs of white space in a field become one space. A
field given as an array of texts is joined into one: pinyin with spaces,
the others with "；" (nothing after an item that ends a sentence, a space
after one ending in an ASCII . ! ? or ;); an idiom must be one text.
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
and a field the list does not have with nothing after "=": pinyin= leaves
the pinyin empty. Idiom, pinyin and explanation are needed unless so
declared; source and example may be missing. The fields of an array of
arrays are named by position, from 0: --fields idiom=0,pinyin=1; roles not
named are empty. In an object keyed by idiom the key is the idiom. The
"fields:" line says what was used, what else looked like a field of the same
role ("passed over") and which columns went unused.

What the program would lay out wrongly is reported with its record number:
a space or square bracket in the idiom and a square bracket in the pinyin
are written so that they show right (an ideographic space, full-width
brackets); a record whose explanation, source or example holds 出处 or 示例,
or which has no idiom, is skipped. Characters GBK cannot hold are listed and
nothing is written, unless --skip-unencodable is given: then their records
are left out. Each record mended or skipped is named on a line of its own,
the first 20 of them; at the end every reason is counted. IN is never
changed; OUT is written under a temporary name and renamed into place. When
records were read but none could be kept, nothing is written; an empty list
never replaces a file that holds something.

Exit status: 0 when OUT was written, 1 when IN holds characters GBK cannot
hold or no record could be kept (or an empty list would replace a
dictionary), 2 on a bad command line, malformed input (with its line and
column) or a file that cannot be read or written.
)";

constexpr char kFieldsOption[] = "--fields";
constexpr char kRecordsOption[] = "--records";
constexpr char kEncodingOption[] = "--encoding";
constexpr char kKeepToneNumbersOption[] = "--keep-tone-numbers";

struct ImportOptions {
    FieldChoice fields;
    std::optional<std::string> recordsKey;
    ListEncoding encoding = ListEncoding::kDetect;
    EntryOptions entry;
    bool skipUnencodable = false;
};

// "--NAME VALUE" and "--NAME=VALUE" are taken out before the rest is sorted,
// so that VALUE is not read as a file name. Each occurrence goes to `take`.
bool TakeValueOption(Args& args, const char* name, std::string& error,
                     const std::function<bool(const std::string&)>& take) {
    const std::string withValue = std::string(name) + "=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (args[i] == name) {
            if (i + 1 == args.size()) {
                error = std::string(name) + " needs a value";
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

// "record 12", and its line where the list's form tells it.
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
};

// Takes the cells' text, which is not needed after. On a malformed record
// `malformed` says which and why, and nothing more is composed.
Composed ComposeAll(RecordTable& table, const FieldMap& map, const EntryOptions& options,
                    ImportReport& report, std::string& malformed) {
    Composed composed;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        RecordFields fields;
        std::string refusal;
        ImportedEntry entry = TakeRecordFields(table.records[i], map, fields, refusal)
                                  ? ComposeEntry(std::move(fields), options)
                                  : ImportedEntry{"", refusal, "", {}};
        if (!entry.malformed.empty()) {
            malformed = RecordName(table, i) + ": " + entry.malformed;
            return composed;
        }
        for (const std::string& fix : entry.fixes) {
            report.Mended(RecordName(table, i), fix);
        }
        if (!entry.skipped.empty()) {
            report.Skipped(RecordName(table, i), entry.skipped);
            continue;
        }
        composed.fixed += !entry.fixes.empty();
        composed.lines.push_back(std::move(entry.line));
        composed.recordOf.push_back(i);
    }
    return composed;
}

// An empty list makes an empty dictionary, but never in place of one.
int WriteEmpty(const InputAndOutput& files, const std::string& format, std::ostream& out,
               std::ostream& err) {
    if (OutputHoldsData(files)) {
        err << "idiomtool: " << files.outName << " not written: the " << format << " list "
            << files.inName << " holds no records, and " << files.outName
            << " is not empty; it is left as it was\n";
        return kExitProblems;
    }
    if (!WriteOutput(files, "", err)) {
        return kExitUsage;
    }
    out << "wrote " << files.outName << ": empty, as the " << format << " list " << files.inName
        << " holds no records\n";
    return kExitOk;
}

int Import(const InputAndOutput& files, const ImportOptions& options, std::ostream& out,
           std::ostream& err) {
    const std::string& inName = files.inName;
    const std::string& outName = files.outName;
    std::string bytes;
    if (!ReadInputFor(files, bytes, err)) {
        return kExitUsage;
    }
    ListSource source =
        ReadListSource(files.inPath, bytes, options.encoding, options.recordsKey.value_or(""));
    bytes = {};  // the table holds all it needs
    if (source.error.empty() && options.recordsKey && source.format != ListFormat::kJson) {
        source.error = std::string(kRecordsOption) + " is for JSON lists, and this one is " +
                       std::string(FormatName(source.format));
    }
    if (!source.error.empty()) {
        err << "idiomtool: " << inName << ": " << source.error << "; nothing written\n";
        return kExitUsage;
    }
    RecordTable& table = source.table;
    const std::string format(FormatName(source.format));
    if (table.records.empty()) {
        return WriteEmpty(files, format, out, err);
    }

    FieldMap map;
    std::string error;
    if (!ResolveFields(table, options.fields, map, error)) {
        err << "idiomtool: " << inName << ": " << error << "\n";
        return kExitUsage;
    }
    out << "fields: " << DescribeFields(table, map) << "\n";
    if (const std::optional<ShortRecord> tooShort = FindShortRecord(table, map)) {
        const std::size_t position = *map[static_cast<std::size_t>(tooShort->role)];
        err << "idiomtool: " << inName << ": " << RecordName(table, tooShort->record) << " has "
            << Counted(table.records[tooShort->record].size(), "field", "fields")
            << ", none at position " << position << " for the " << RoleName(tooShort->role);
        if (tooShort->count > 1) {
            err << " (" << tooShort->count - 1 << " more records as short)";
        }
        err << "; nothing written\n";
        return kExitUsage;
    }

    ImportReport report(err);
    std::string malformed;
    const Composed composed = ComposeAll(table, map, options.entry, report, malformed);
    if (!malformed.empty()) {
        err << "idiomtool: " << inName << ": " << malformed << "; nothing written\n";
        return kExitUsage;
    }
    const ConvertOutcome outcome = ConvertLinesToGbk(
        std::vector<std::string_view>(composed.lines.begin(), composed.lines.end()),
        options.skipUnencodable);
    const std::size_t lines = report.LinesLeft();
    const std::size_t notListed = ListUnencodable(
        outcome, [&](std::size_t line) { return RecordName(table, composed.recordOf[line - 1]); },
        err, lines);
    report.ShownElsewhere(outcome.unencodable.size() - notListed, notListed);
    report.CountSkipped("it holds a character GBK cannot hold", outcome.skipped);
    report.Summarise();
    if (outcome.status != ConvertStatus::kOk) {
        RefuseUnencodable(outcome, outName, "records", err);
        return kExitProblems;
    }
    if (outcome.entries == 0) {
        err << "idiomtool: " << outName << " not written: none of the "
            << Counted(table.records.size(), "record", "records") << " of " << format
            << " could be kept (the reasons are above)"
            << (OutputHoldsData(files) ? "; it is left as it was" : "") << "\n";
        return kExitProblems;
    }
    if (!WriteOutput(files, outcome.gbk, err)) {
        return kExitUsage;
    }
    out << "wrote " << outName << ": " << Counted(outcome.entries, "entry", "entries")
        << " in GBK from " << Counted(table.records.size(), "record", "records") << " of " << format
        << " (" << source.encoding << ")";
    if (composed.fixed > 0) {
        out << "; " << composed.fixed << " written so that they show right";
    }
    if (outcome.skipped < report.skipped()) {
        out << "; skipped " << report.skipped() - outcome.skipped << " that would show wrongly";
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
    const bool taken =
        TakeValueOption(rest, kFieldsOption, error,
                        [&](const std::string& value) {
                            return ParseFieldChoice(value, options.fields, error);
                        }) &&
        TakeValueOption(rest, kRecordsOption, error,
                        [&](const std::string& value) {
                            options.recordsKey = value;
                            if (value.empty()) {
                                error = "--records needs the key that holds the records";
                            }
                            return !value.empty();
                        }) &&
        TakeValueOption(rest, kEncodingOption, error, [&](const std::string& value) {
            if (!ParseListEncoding(value, options.encoding)) {
                error = "unknown encoding \"" + value + "\" (utf-8, utf-16, gbk or gb18030)";
                return false;
            }
            return true;
        });
    if (!taken) {
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
