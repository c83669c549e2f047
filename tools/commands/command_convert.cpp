// idiomtool convert: a GBK dictionary from one edited as UTF-8 or UTF-16.

#include <ostream>

#include "commands/command_args.h"
#include "commands/commands.h"
#include "dictionary/dictionary_convert.h"
#include "commands/command_files.h"
#include "dictionary/unencodable_report.h"

namespace {

constexpr char kHelp[] = R"(usage: idiomtool convert IN OUT [--skip-unencodable]

Makes OUT, a dictionary the idiom program can read (GBK, CR LF line ends),
from IN saved as UTF-8 (with or without a byte order mark) or as UTF-16.
IN is never changed. OUT is written beside itself under a temporary name and
renamed into place, so it is either the whole new dictionary or untouched.

Characters GBK cannot hold are listed with their line and code point, and
nothing is written, unless --skip-unencodable is given: then the lines that
hold them are left out.

Exit status: 0 when OUT was written, 1 when IN is not valid text or holds
characters GBK cannot hold, 2 on a bad command line or a file that cannot be
read or written.
)";

}  // namespace

int RunConvert(const Args& args, std::ostream& out, std::ostream& err) {
    const SortedArgs sorted = SortArgs(args);
    if (sorted.help) {
        out << kHelp;
        return kExitOk;
    }
    bool skip = false;
    for (const std::string& option : sorted.options) {
        if (option != kSkipUnencodableOption) {
            return UsageError(err, "convert", "unknown option " + option);
        }
        skip = true;
    }
    if (sorted.operands.size() != 2) {
        return UsageError(
            err, "convert",
            sorted.operands.size() < 2 ? "IN and OUT are needed" : "too many arguments");
    }
    const InputAndOutput files = NameFiles(sorted.operands[0], sorted.operands[1]);
    const std::string& inName = files.inName;
    const std::string& outName = files.outName;
    std::string bytes;
    if (!ReadInputFor(files, bytes, err)) {
        return kExitUsage;
    }

    const ConvertOutcome outcome = ConvertToGbk(bytes, skip);
    if (outcome.status == ConvertStatus::kInvalidInput) {
        const bool utf16 = IsUtf16(outcome.source);
        err << "idiomtool: " << inName << " line " << outcome.errorLine << " (offset "
            << outcome.errorOffset << "): not valid " << (utf16 ? "UTF-16" : "UTF-8")
            << "; nothing written";
        if (!utf16) {
            err << " (if it is GBK already, see idiomtool check " << inName << ")";
        }
        err << "\n";
        return kExitProblems;
    }
    ListUnencodable(
        outcome, [](std::size_t line) { return "line " + std::to_string(line); }, err);
    if (outcome.status == ConvertStatus::kUnencodable) {
        RefuseUnencodable(outcome, outName, "lines", err);
        return kExitProblems;
    }

    if (!WriteOutput(files, outcome.gbk, err)) {
        return kExitUsage;
    }
    out << "wrote " << outName << ": " << Counted(outcome.entries, "entry", "entries")
        << " in GBK from " << DescribeEncoding(outcome.source);
    if (outcome.skipped > 0) {
        out << "; skipped " << Counted(outcome.skipped, "entry", "entries")
            << " with characters GBK cannot hold";
    }
    out << "\n";
    return kExitOk;
}
