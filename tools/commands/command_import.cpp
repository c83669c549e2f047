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
    R"(usage: idiomtool import IN OUT [--fields ROLE=KEY,...] [--skip-unencodable]

Makes OUT, a dictionary the idiom program reads (GBK, CR LF line ends), from
IN, an idiom list saved as UTF-8 (with or without a byte order mark) in one
of these forms:
  JSON  an array of objects: [{"word": "...", "pinyin": "...", ...}, ...]
  CSV   comma-separated, with a header row naming the columns (RFC 4180:
        fields in double quotes may hold commas, line breaks and "" for ")
  TSV   the same with tabs
The form is taken from IN's extension (.json, .csv, .tsv), else from its text.

Each record becomes the line
  IDIOM [PINYIN]EXPLANATION出处：SOURCE示例：EXAMPLE
without 出处 when the source is empty, and with 示例：无 when the example is.
Line breaks, tabs and runs of white space in a field become one space.

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

struct ImportOptions {
    FieldChoice fields;
    bool skipUnencodable = false;
};

// "--fields VALUE" and "--fields=VALUE" are taken out before the rest is
// sorted, so that VALUE is not read as a file name.
bool TakeFieldsOption(Args& args, FieldChoice& fields, std::string& error) {
    const std::string withValue = std::string(kFieldsOption) + "=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string value;
        if (args[i] == kFieldsOption) {
            if (i + 1 == args.size()) {
                error = "--fields needs ROLE=KEY pairs";
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
        if (!ParseFieldChoice(value, fields, error)) {
            return false;
        }
    }
    return true;
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

// Takes the cells' text, which is not needed after.
Composed ComposeAll(RecordTable& table, const FieldMap& map, std::ostream& err) {
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
        ImportedEntry entry =
            notText.empty() ? ComposeEntry(std::move(fields)) : ImportedEntry{"", notText, {}};
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
    ListSource source = ReadListSource(files.inPath, bytes);
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
    const Composed composed = ComposeAll(source.table, map, err);

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
        << format;
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
    if (!TakeFieldsOption(rest, options.fields, error)) {
        return UsageError(err, "import", error);
    }
    const SortedArgs sorted = SortArgs(rest);
    if (sorted.help) {
        out << kHelp;
        return kExitOk;
    }
    for (const std::string& option : sorted.options) {
        if (option != kSkipUnencodableOption) {
            return UsageError(err, "import", "unknown option " + option);
        }
        options.skipUnencodable = true;
    }
    if (sorted.operands.size() != 2) {
        return UsageError(
            err, "import",
            sorted.operands.size() < 2 ? "IN and OUT are needed" : "too many arguments");
    }
    return Import(NameFiles(sorted.operands[0], sorted.operands[1]), options, out, err);
}
