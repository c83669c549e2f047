#include "commands/command_args.h"

#include <ostream>

SortedArgs SortArgs(const Args& args) {
    SortedArgs sorted;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            sorted.help = true;
        } else if (arg.starts_with("--")) {
            sorted.options.push_back(arg);
        } else {
            sorted.operands.push_back(arg);
        }
    }
    return sorted;
}

int UsageError(std::ostream& err, const std::string& command, const std::string& message) {
    const std::string help =
        command.empty() ? "idiomtool --help" : "idiomtool " + command + " --help";
    err << "idiomtool: " << message << " (see " << help << ")\n";
    return kExitUsage;
}

std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
