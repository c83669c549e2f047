// idiomtool's top level: picks the command.

#include <exception>
#include <ostream>
#include <string_view>

#include "commands/command_args.h"
#include "commands/commands.h"

namespace {

constexpr char kHelp[] = R"(usage: idiomtool COMMAND ARGUMENTS

Looks after the idiom program's dictionary 成语.txt (GBK, one entry a line).

commands:
  check FILE                           report what the program would show wrongly
  convert IN OUT [--skip-unencodable]  make a GBK dictionary from UTF-8 or UTF-16
  import IN OUT [--fields ROLE=KEY,...] [--skip-unencodable]
                                       make one from an idiom list in JSON, CSV or TSV
  show FILE N                          show entry N as the program lays it out
  show FILE --random                   show an entry drawn at random
  help [COMMAND]                       this text, or the command's own

"idiomtool COMMAND --help" tells more about each.
Exit status: 0 done, 1 problems in a file's content, 2 a bad command line or a
file that cannot be read or written.
)";

struct Command {
    std::string_view name;
    int (*run)(const Args&, std::ostream&, std::ostream&);
};

constexpr Command kCommands[] = {
    {"check", RunCheck},
    {"convert", RunConvert},
    {"import", RunImport},
    {"show", RunShow},
};

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

int Dispatch(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return UsageError(err, "", "no command given");
    }
    const std::string& word = args.front();
    const Args rest(args.begin() + 1, args.end());
    if (word == "help" || word == "--help" || word == "-h") {
        if (rest.empty()) {
            out << kHelp;
            return kExitOk;
        }
        if (const Command* command = FindCommand(rest.front())) {
            return command->run({"--help"}, out, err);
        }
        return UsageError(err, "", "no help for unknown command '" + rest.front() + "'");
    }
    if (const Command* command = FindCommand(word)) {
        return command->run(rest, out, err);
    }
    return UsageError(err, "", "unknown command '" + word + "'");
}

}  // namespace

int RunIdiomTool(const Args& args, std::ostream& out, std::ostream& err) {
    try {
        return Dispatch(args, out, err);
    } catch (const std::exception& error) {
        // Out of memory for a huge file, or a platform without GBK support.
        err << "idiomtool: " << error.what() << "\n";
        return kExitUsage;
    }
}
