// idiomtool on POSIX systems, where arguments and the terminal are UTF-8.

#include <iostream>

#include "commands/commands.h"

int main(int argc, char** argv) {
    const Args args(argv + 1, argv + argc);
    return RunIdiomTool(args, std::cout, std::cerr);
}
