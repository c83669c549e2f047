// idiomtool convert: GBK with CR LF out of UTF-8 or UTF-16 in; refusals
// leave nothing behind, and the input is never touched.

#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ConvertCommand, WritesGbkWithCrLfFromEveryUsualSource) {
    const std::string sample = GbkDictionary(kSampleLines);
    const std::string pair =
        GbkDictionary({u8"一帆风顺 [yī fān fēng shùn] 顺利。", u8"守株待兔 [shǒu zhū] 死守。"});
    const std::u16string pairUtf16 =
        u"一帆风顺 [yī fān fēng shùn] 顺利。\n守株待兔 [shǒu zhū] 死守。\n";
    const std::string lf = JoinLines(kSampleLines, "\n");
    const std::pair<std::string, std::string> cases[] = {
        {lf, sample},
        {"\xEF\xBB\xBF" + JoinLines(kSampleLines, "\r\n"), sample},
        {JoinLines(kSampleLines, "\r"), sample},
        {lf.substr(0, lf.size() - 1), sample},  // last line unended
        {"\xFF\xFE" + Utf16Bytes(pairUtf16, false), pair},
        {Utf16Bytes(pairUtf16, true), pair},
    };
    for (const auto& [source, expected] : cases) {
        ScratchDir dir;
        const std::string in = dir.Write(u8"源.txt", source);
        const ToolResult result = RunTool({"convert", in, dir.Arg(u8"成语.txt")});
        EXPECT_EQ(result.code, kExitOk) << result.err;
        EXPECT_EQ(dir.Read(u8"成语.txt"), expected);
        EXPECT_EQ(dir.Read(u8"源.txt"), source);
        EXPECT_EQ(dir.FileCount(), 2u);  // no temporary file left over
    }
}

TEST(ConvertCommand, RefusesCharactersGbkCannotHoldUnlessToldToSkipTheirLines) {
    const std::vector<std::u8string> lines = {
        kSampleLines[0], u8"笑脸 [xiào liǎn] 表情😀。", kSampleLines[1],
        u8"欧元 [ōu yuán] 货币符号€。",  // code page 936 has only the lone byte 0x80
    };
    ScratchDir dir;
    const std::string in = dir.Write(u8"源.txt", JoinLines(lines, "\n"));
    const std::string out = dir.Write(u8"成语.txt", "old");

    ToolResult result = RunTool({"convert", in, out});
    EXPECT_EQ(result.code, kExitProblems);
    EXPECT_TRUE(Contains(result.err, Bytes(u8"line 2: \"😀\" U+1F600"))) << result.err;
    EXPECT_TRUE(Contains(result.err, Bytes(u8"line 4: \"€\" U+20AC"))) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), "old");

    result = RunTool({"convert", "--skip-unencodable", in, out});
    EXPECT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary({lines[0], lines[2]}));
    EXPECT_TRUE(Contains(result.out, "skipped 2 entries")) << result.out;
    EXPECT_EQ(dir.FileCount(), 2u);
}

TEST(ConvertCommand, RefusesInvalidTextNamingItsLine) {
    const std::string firstLine = "abc [a] x\r\n";
    // Already GBK: 帆 opens with 0xB7, which no UTF-8 character starts with.
    const std::string gbkLine = GbkDictionary({u8"帆船 [fān chuán] 有帆的船。"});
    const std::pair<std::string, std::string> cases[] = {
        {firstLine + gbkLine, "UTF-8"},
        {"abc [a] x\r" + gbkLine, "UTF-8"},  // an old Mac line end counts too
        {"\xFF\xFE" + Utf16Bytes(u"abc [a] x\r\n\xD800x", false), "UTF-16"},
    };
    for (const auto& [source, encoding] : cases) {
        ScratchDir dir;
        const ToolResult result =
            RunTool({"convert", dir.Write(u8"源.txt", source), dir.Arg(u8"成语.txt")});
        EXPECT_EQ(result.code, kExitProblems);
        const std::size_t offset =
            encoding == "UTF-8" ? source.size() - gbkLine.size() : 2 + 2 * firstLine.size();
        EXPECT_TRUE(Contains(
            result.err, "line 2 (offset " + std::to_string(offset) + "): not valid " + encoding))
            << result.err;
        EXPECT_FALSE(dir.Exists(u8"成语.txt"));
    }
}

TEST(ConvertCommand, NeverOverwritesTheInputAndReplacesTheOutputWhole) {
    ScratchDir dir;
    const std::string source = JoinLines(kSampleLines, "\n");
    const std::string in = dir.Write(u8"源.txt", source);
    for (const std::string& out : {in, dir.Arg(u8""), dir.Arg(u8"没有/成语.txt")}) {
        const ToolResult result = RunTool({"convert", in, out});
        EXPECT_EQ(result.code, kExitUsage) << out;
        EXPECT_TRUE(Contains(result.err, "cannot write " + out)) << result.err;
    }
    EXPECT_EQ(dir.Read(u8"源.txt"), source);
    EXPECT_EQ(dir.FileCount(), 1u);

    const std::string out = dir.Write(u8"成语.txt", std::string(100000, 'x'));
    EXPECT_EQ(RunTool({"convert", in, out}).code, kExitOk);
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary(kSampleLines));
}

}  // namespace
