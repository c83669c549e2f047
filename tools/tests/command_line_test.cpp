// The command line: help on every level, and one-line errors with exit 2.

#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace {

TEST(CommandLine, GivesHelpForTheToolAndEachCommand) {
    const std::pair<Args, std::string> asks[] = {
        {{"--help"}, "usage: idiomtool COMMAND"},
        {{"help"}, "usage: idiomtool COMMAND"},
        {{"help", "check"}, "usage: idiomtool check"},
        {{"convert", "--help"}, "usage: idiomtool convert"},
        {{"show", "-h"}, "usage: idiomtool show"},
    };
    for (const auto& [args, start] : asks) {
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.code, kExitOk) << start;
        EXPECT_EQ(result.out.find(start), 0u) << result.out;
        EXPECT_EQ(result.err, "");
    }
}

TEST(CommandLine, RejectsBadCommandLinesInOneLine) {
    const Args bad[] = {
        {},
        {"frobnicate"},
        {"help", "frobnicate"},
        {"check"},
        {"check", "a", "b"},
        {"check", "--verbose", "a"},
        {"convert", "in"},
        {"convert", "in", "out", "--skip"},
        {"show", "file"},
        {"show", "file", "1", "--random"},
    };
    for (const Args& args : bad) {
        const ToolResult result = RunTool(args);
        const std::string shown = args.empty() ? "(none)" : args.front();
        EXPECT_EQ(result.code, kExitUsage) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_EQ(result.err.find("idiomtool: "), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

}  // namespace
