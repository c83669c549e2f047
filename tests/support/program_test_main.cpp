// The end-to-end tests take the program's path as their first argument.
#include <gtest/gtest.h>

#include "program_driver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM.exe [gtest options]\n", argv[0]);
        return 2;
    }
    e2e::SetProgramPath(argv[1]);
    return RUN_ALL_TESTS();
}
