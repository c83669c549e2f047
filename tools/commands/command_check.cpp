// idiomtool check: what the program would show wrongly in a dictionary.

#include <ostream>

#include "commands/command_args.h"
#include "commands/commands.h"
#include "dictionary/dictionary_check.h"
#include "commands/file_access.h"

namespace {

constexpr char kHelp[] = R"(usage: idiomtool check FILE

Reads FILE as the idiom program reads 成语.txt and reports, one line each with
its line number and byte offset, whatever the program would show wrongly:
  - a file saved as UTF-8 or UTF-16 instead of GBK
  - bytes that are not GBK
  - NUL bytes, which cut a line short
  - CR line ends without LF, which run lines together
  - empty lines, lines without a space after the idiom, or without a "]"
    ending the pronunciation
  - "示例:" with an ASCII colon, which is not dropped as "示例：无" is

Exit status: 0 when FILE is clean, 1 when problems were found, 2 when FILE
cannot be read.
)";

}  // namespace

int RunCheck(const Args& args, std::ostream& out, std::ostream& err) {
    const SortedArgs sorted = SortArgs(args);
    if (sorted.help) {
        out << kHelp;
        return kExitOk;
    }
    if (!sorted.options.empty()) {
        return UsageError(err, "check", "unknown option " + sorted.options.front());
    }
    if (sorted.operands.size() != 1) {
        return UsageError(err, "check",
                          sorted.operands.empty() ? "no FILE given" : "too many arguments");
    }
    const std::string& name = sorted.operands.front();
    std::string bytes;
    std::string error;
    if (!ReadFileBytes(PathFromUtf8(name), bytes, error)) {
        err << "idiomtool: cannot read " << name << ": " << error << "\n";
        return kExitUsage;
    }

    const CheckReport report = CheckDictionary(bytes);
    for (const CheckProblem& problem : report.problems) {
        if (problem.line == 0) {
            out << name << ": " << problem.message << "\n";
        } else {
            out << "line " << problem.line << " (offset " << problem.lineOffset
                << "): " << problem.message << "\n";
        }
        if (problem.kind == ProblemKind::kWrongEncoding) {
            out << "make a GBK copy with: idiomtool convert " << name << " NEW-FILE\n";
        }
    }
    out << name << ": " << Counted(report.entries, "entry", "entries") << ", "
        << (report.problems.empty() ? "no problems"
                                    : Counted(report.problems.size(), "problem", "problems"))
        << "\n";
    return report.problems.empty() ? kExitOk : kExitProblems;
}
