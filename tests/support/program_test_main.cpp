// The tests of the real program take its path as their first argument, then
// any folders of their own (GoogleTest's options may stand anywhere).
#include <gtest/gtest.h>

#include "program_driver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM.exe [FOLDER...] [gtest options]\n", argv[0]);
        return 2;
    }
    e2e::SetProgramPath(argv[1]);
    e2e::SetTestArguments(std::vector<std::string>(argv + 2, argv + argc));
    return RUN_ALL_TESTS();
}
