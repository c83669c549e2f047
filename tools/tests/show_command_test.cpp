// idiomtool show: entry numbers as a person counts them, and fields shown
// even for a damaged entry.

#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace {

TEST(ShowCommand, RefusesEntryNumbersThatNameNoEntry) {
    ScratchDir dir;
    const std::string file = dir.Write(u8"成语.txt", GbkDictionary(kSampleLines));
    const std::string pastEnd = std::to_string(kSampleLines.size() + 1);
    for (const std::string bad :
         {"0", "-1", "abc", "2x", "", "99999999999999999999999", pastEnd.c_str()}) {
        const ToolResult result = RunTool({"show", file, bad});
        EXPECT_EQ(result.code, kExitUsage) << bad;
        EXPECT_EQ(result.out, "") << bad;
        EXPECT_EQ(result.err.find("idiomtool: "), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;  // one line
    }
    EXPECT_EQ(RunTool({"show", dir.Arg(u8"没有.txt"), "1"}).code, kExitUsage);
    EXPECT_EQ(RunTool({"show", dir.Write(u8"空.txt", ""), "--random"}).code, kExitProblems);
}

TEST(ShowCommand, DrawsARandomEntryThatShowsAsItsNumberDoes) {
    ScratchDir dir;
    const std::string file = dir.Write(u8"成语.txt", GbkDictionary(kSampleLines));
    const std::string prefix = Bytes(u8"条目: ");
    for (int draw = 0; draw < 10; ++draw) {
        const ToolResult random = RunTool({"show", file, "--random"});
        ASSERT_EQ(random.code, kExitOk) << random.err;
        ASSERT_EQ(random.out.find(prefix), 0u) << random.out;
        const std::string number =
            random.out.substr(prefix.size(), random.out.find('/') - prefix.size());
        EXPECT_EQ(random.out, RunTool({"show", file, number}).out);
    }
}

TEST(ShowCommand, ShowsADamagedEntryWithAWarning) {
    ScratchDir dir;
    const std::string file =
        dir.Write(u8"成语.txt", Gbk(u8"一帆风顺 [yī fān] 顺") + "\xFF" + Gbk(u8"利。") + "\r\n");
    const ToolResult result = RunTool({"show", file, "1"});
    EXPECT_EQ(result.code, kExitOk);
    EXPECT_NE(result.out.find(Bytes(u8"顺\uFFFD利。")), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("check " + file), std::string::npos) << result.err;
}

}  // namespace
