// idiomtool show: one entry, split into fields as the program shows it.

#include <charconv>
#include <ostream>
#include <random>

#include "commands/command_args.h"
#include "commands/commands.h"
#include "dictionary/entry_display.h"
#include "entry_fields.h"
#include "commands/file_access.h"
#include "idiom_list.h"

namespace {

constexpr char kHelp[] = R"(usage: idiomtool show FILE N
       idiomtool show FILE --random

Shows entry N of FILE (counted from 1, as lines are counted), or one drawn at
random, split into its fields as the idiom program lays them out:
  条目: N/TOTAL
  成语: ...
  拼音: [...]
  解释:
  the explanation, over as many lines as the program gives it
FILE is read as GBK; the fields are printed in UTF-8.

Exit status: 0 when an entry was shown, 1 when FILE holds no entries to draw
from, 2 on a bad command line, a bad N or a file that cannot be read.
)";

constexpr char kRandomOption[] = "--random";

// The entry number as typed: digits only, at least 1.
bool ParseEntryNumber(const std::string& text, std::size_t& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end && number >= 1;
}

std::size_t DrawIndex(std::size_t count) {
    std::random_device seed;
    std::mt19937 generator(seed());
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
}

}  // namespace

int RunShow(const Args& args, std::ostream& out, std::ostream& err) {
    const SortedArgs sorted = SortArgs(args);
    if (sorted.help) {
        out << kHelp;
        return kExitOk;
    }
    bool random = false;
    for (const std::string& option : sorted.options) {
        if (option != kRandomOption) {
            return UsageError(err, "show", "unknown option " + option);
        }
        random = true;
    }
    const std::size_t wanted = random ? 1 : 2;
    if (sorted.operands.size() != wanted) {
        if (sorted.operands.empty()) {
            return UsageError(err, "show", "no FILE given");
        }
        if (random) {
            return UsageError(err, "show", "give N or --random, not both");
        }
        return UsageError(
            err, "show",
            sorted.operands.size() < 2 ? "no entry number N given" : "too many arguments");
    }
    const std::string& name = sorted.operands[0];
    std::size_t number = 0;
    if (!random && !ParseEntryNumber(sorted.operands[1], number)) {
        return UsageError(err, "show",
                          "bad entry number " + sorted.operands[1] + ": entries count from 1");
    }

    const std::filesystem::path path = PathFromUtf8(name);
    IdiomList list;
    std::string error = DescribeUnreadable(path);
    if (error.empty() && !LoadIdiomList(list, path)) {
        error = "cannot open it";
    }
    if (!error.empty()) {
        err << "idiomtool: cannot read " << name << ": " << error << "\n";
        return kExitUsage;
    }
    if (random) {
        if (list.empty()) {
            err << "idiomtool: " << name << " holds no entries\n";
            return kExitProblems;
        }
        number = DrawIndex(list.size()) + 1;
    } else if (number > list.size()) {
        err << "idiomtool: entry " << number << " is past the end: " << name << " has "
            << Counted(list.size(), "entry", "entries") << "\n";
        return kExitUsage;
    }

    bool lossy = false;
    const std::string shown = FormatEntry(SplitEntry(list[number - 1]), lossy);
    out << "条目: " << number << "/" << list.size() << "\n" << shown;
    if (lossy) {
        err << "idiomtool: entry " << number
            << " holds bytes that are not GBK, shown as \xEF\xBF\xBD"
            << "; see idiomtool check " << name << "\n";
    }
    return kExitOk;
}
