#pragma once
// Sorting a command's arguments into options and operands.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "commands/commands.h"

struct SortedArgs {
    Args operands;
    Args options;  // "--name" words, "-h" taken as "--help"
    bool help = false;
};

// Words starting with "--" are options; "-h" asks for help. A lone "-" and
// words like "-3" stay operands, so a bad number is reported as a number.
SortedArgs SortArgs(const Args& args);

// "1 entry", "3 entries".
std::string Counted(std::size_t count, const char* one, const char* many);

// Writes "idiomtool: <message>" and the hint to see the command's help;
// returns kExitUsage.
int UsageError(std::ostream& err, const std::string& command, const std::string& message);
