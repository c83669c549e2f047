// The whole way a dictionary goes: typed in UTF-8, converted, checked clean,
// and every entry shown just as the program's own SplitEntry cuts it.

#include <gtest/gtest.h>

#include "entry_fields.h"
#include "commands/file_access.h"
#include "gbk_text.h"
#include "idiom_list.h"
#include "tool_test_support.h"

namespace {

TEST(RoundTrip, ConvertedListChecksCleanAndShowsAsTheProgramSplitsIt) {
    ScratchDir dir;
    std::vector<std::u8string> lines = kSampleLines;
    lines.push_back(
        u8"塞翁失马 [sài wēng shī mǎ] 比喻坏事变好事。出处：《淮南子·人间训》。"
        u8"示例：塞翁失马，焉知非福。出处：又一处。");
    const std::string in = dir.Write(u8"源 文件.txt", "\xEF\xBB\xBF" + JoinLines(lines, "\n"));
    const std::string out = dir.Arg(u8"成语.txt");

    ASSERT_EQ(RunTool({"convert", in, out}).code, kExitOk);
    const ToolResult check = RunTool({"check", out});
    EXPECT_EQ(check.code, kExitOk) << check.out;

    IdiomList list;
    ASSERT_TRUE(LoadIdiomList(list, PathFromUtf8(out)));
    ASSERT_EQ(list.size(), lines.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const EntryFields fields = SplitEntry(list[i]);
        const std::string expected =
            Bytes(u8"条目: ") + std::to_string(i + 1) + "/" + std::to_string(list.size()) + "\n" +
            Bytes(u8"成语: ") + Utf8FromGbk(fields.idiom) + "\n" + Bytes(u8"拼音:") +
            Utf8FromGbk(fields.pronunciation) + "\n" + Bytes(u8"解释:") + "\n" +
            Utf8FromGbk(gbk::ReplaceAll(fields.explanation, "\r\n", "\n")) + "\n";
        const ToolResult show = RunTool({"show", out, std::to_string(i + 1)});
        EXPECT_EQ(show.code, kExitOk);
        EXPECT_EQ(show.out, expected);
        EXPECT_EQ(show.err, "");
    }
}

}  // namespace
