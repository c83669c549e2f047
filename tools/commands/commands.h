#pragma once
// The idiomtool commands. Each takes the arguments after its own name, as
// UTF-8, writes UTF-8 text to `out` (results) and `err` (diagnostics), and
// returns the process exit code.

#include <iosfwd>
#include <string>
#include <vector>

using Args = std::vector<std::string>;

enum ExitCode {
    kExitOk = 0,
    kExitProblems = 1,  // the file's content is at fault: problems found, conversion refused
    kExitUsage = 2,     // bad command line, or a file that cannot be read or written
};

// The whole command line after the program name: dispatches to a command.
int RunIdiomTool(const Args& args, std::ostream& out, std::ostream& err);

int RunCheck(const Args& args, std::ostream& out, std::ostream& err);
int RunConvert(const Args& args, std::ostream& out, std::ostream& err);
int RunImport(const Args& args, std::ostream& out, std::ostream& err);
int RunShow(const Args& args, std::ostream& out, std::ostream& err);
