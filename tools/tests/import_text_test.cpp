// idiomtool import on lists as people save them: in GBK from Excel, with
// look-alike characters, with tone numbers, as TSV with quotes in the text.

#include <gtest/gtest.h>

#include "commands/file_access.h"
#include "text/text_codec.h"
#include "tool_test_support.h"

namespace {

std::string Fixture(const char* name) { return std::string(IMPORT_FIXTURES) + "/" + name; }

std::string FixtureBytes(const char* name) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(ReadFileBytes(PathFromUtf8(Fixture(name)), bytes, error)) << error;
    return bytes;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::vector<std::u8string> kMarked = {
    u8"阿鼻地狱 [ā bí dì yù]比喻黑暗的境地。示例：无",
    u8"屡教不改 [lǚ jiào bù gǎi]多次教育仍不改正。示例：无",
    u8"女中豪杰 [nǚ zhōng háo jié]女子中的杰出人物。示例：无",
    u8"偷梁换柱 [tōu liáng huàn zhù]比喻暗中以假代真。示例：无",
    u8"八字没一撇 [bā zì méi yī piě]比喻事情还没有眉目。示例：无",
};

// The same list as UTF-8, as GBK with CR LF (Excel's "CSV" on a Chinese
// Windows) gives one dictionary, with tone marks.
TEST(ImportText, ReadsAListInEveryEncodingAndMarksItsTones) {
    const std::string utf8 = FixtureBytes("tone_numbers.csv");
    std::string crlf;
    for (const char c : utf8) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    std::string gbk;
    ASSERT_TRUE(Utf8ToGbk(crlf, gbk).ok());
    ScratchDir dir;
    const std::pair<std::string, const char*> lists[] = {
        {Fixture("tone_numbers.csv"), "(UTF-8)"},
        {dir.Write(u8"excel.csv", gbk), "(GBK)"},
    };
    for (const auto& [in, encoding] : lists) {
        const ToolResult result = RunTool({"import", in, dir.Arg(u8"成语.txt")});
        ASSERT_EQ(result.code, kExitOk) << in << ": " << result.err;
        EXPECT_TRUE(Contains(result.out, encoding)) << result.out;
        EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary(kMarked)) << in;
    }
    const ToolResult named =
        RunTool({"import", dir.Arg(u8"excel.csv"), dir.Arg(u8"成语.txt"), "--encoding", "gbk"});
    EXPECT_EQ(named.code, kExitOk) << named.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary(kMarked));
    const ToolResult wrong =
        RunTool({"import", dir.Arg(u8"excel.csv"), dir.Arg(u8"成语.txt"), "--encoding=UTF-8"});
    EXPECT_EQ(wrong.code, kExitUsage);
    EXPECT_TRUE(Contains(wrong.err, "line 2, column 1: not valid UTF-8")) << wrong.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary(kMarked));

    const ToolResult kept = RunTool(
        {"import", Fixture("tone_numbers.csv"), dir.Arg(u8"成语.txt"), "--keep-tone-numbers"});
    EXPECT_EQ(kept.code, kExitOk) << kept.err;
    EXPECT_TRUE(Contains(Utf8FromGbk(dir.Read(u8"成语.txt")), "[lu:3 jiao4 bu4 gai3]"));
}

TEST(ImportText, WritesLookAlikeCharactersAsTheOnesGbkHolds) {
    ScratchDir dir;
    const ToolResult result =
        RunTool({"import", Fixture("compatibility.csv"), dir.Arg(u8"成语.txt")});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(dir.Read(u8"成语.txt"),
              GbkDictionary({u8"合情合理 [hé qíng hé lǐ]合乎情理。示例：无",
                             u8"一毛不拔 [yī máo bù bá]比喻非常吝啬。示例：无"}));
}

TEST(ImportText, ReadsTsvQuotesAsTextAndPassesOverLinesOfSpaces) {
    ScratchDir dir;
    ToolResult result = RunTool({"import", Fixture("quotes.tsv"), dir.Arg(u8"成语.txt")});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"),
              GbkDictionary({u8"画蛇添足 [huà shé tiān zú]\"画蛇\"比喻多此一举。示例：无",
                             u8"守株待兔 [shǒu zhū dài tù]\"死守\"经验。示例：无"}));
    result = RunTool({"import", Fixture("trailing_spaces.csv"), dir.Arg(u8"成语.txt")});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_TRUE(Contains(result.out, "1 entry in GBK from 1 record")) << result.out;
}

}  // namespace
