// idiomtool check: each fault reported on the line, and at the offset, where
// it sits; other encodings reported once; exit codes tell the caller.

#include <gtest/gtest.h>

#include <optional>

#include "dictionary/dictionary_check.h"
#include "tool_test_support.h"

namespace {

using std::string_literals::operator""s;

std::string LastLine(const std::string& text) {
    const std::size_t lf = text.rfind('\n', text.size() - 2);
    return text.substr(lf == std::string::npos ? 0 : lf + 1);
}

TEST(CheckCommand, PassesACleanDictionaryWithEitherLineEnd) {
    for (const char* end : {"\r\n", "\n"}) {
        ScratchDir dir;
        std::string bytes = GbkDictionary(kSampleLines, end);
        bytes.resize(bytes.size() - std::string_view(end).size());  // last line unended
        const ToolResult result = RunTool({"check", dir.Write(u8"成语.txt", bytes)});
        EXPECT_EQ(result.code, kExitOk) << result.out;
        EXPECT_EQ(LastLine(result.out), dir.Arg(u8"成语.txt") + ": " +
                                            std::to_string(kSampleLines.size()) +
                                            " entries, no problems\n");
    }
}

TEST(CheckCommand, ReportsEachFaultAtItsLineAndOffset) {
    struct Line {
        std::string bytes;
        std::optional<ProblemKind> kind;
        std::string marker;  // where in the line the fault is, when the report names it
    };
    const std::string example = Gbk(u8"示例:");
    const std::vector<Line> lines = {
        {Gbk(kSampleLines[0]), std::nullopt, ""},
        {Gbk(u8"画蛇添足比喻多此一举。"), ProblemKind::kNoSpace, ""},
        {Gbk(u8"画蛇添足[huà shé tiān zú]比喻多此一举。"), ProblemKind::kNoSpace, "["},
        {"", ProblemKind::kEmptyEntry, ""},
        {Gbk(u8"守株待兔 [shǒu zhū dài tù 比喻死守经验。"), ProblemKind::kNoClosingBracket, ""},
        {Gbk(u8"画蛇添足 [huà shé tiān zú] 比喻多此一举。") + example + Gbk(u8"无"),
         ProblemKind::kAsciiColonExample, example},
        {Gbk(u8"一帆风顺 [yī fān] 顺") + "\xFF" + Gbk(u8"利。"), ProblemKind::kInvalidGbk, "\xFF"},
        {Gbk(u8" [kōng] 没有成语。"), ProblemKind::kEmptyIdiom, ""},
        {Gbk(u8"一帆风顺 [yī fān] 顺") + "\0"s + Gbk(u8"利。"), ProblemKind::kNulByte, "\0"s},
    };
    std::string file;
    std::vector<CheckProblem> expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind) {
            std::string where;
            if (!lines[i].marker.empty()) {
                where =
                    "offset " + std::to_string(file.size() + lines[i].bytes.find(lines[i].marker));
            }
            expected.push_back({*lines[i].kind, i + 1, file.size(), where});
        }
        file += lines[i].bytes + "\n";
    }

    const CheckReport report = CheckDictionary(file);
    EXPECT_EQ(report.entries, lines.size());
    ASSERT_EQ(report.problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CheckProblem& found = report.problems[i];
        EXPECT_EQ(found.kind, expected[i].kind) << found.message;
        EXPECT_EQ(found.line, expected[i].line) << found.message;
        EXPECT_EQ(found.lineOffset, expected[i].lineOffset) << found.message;
        EXPECT_NE(found.message.find(expected[i].message), std::string::npos) << found.message;
    }

    ScratchDir dir;
    const ToolResult result = RunTool({"check", dir.Write(u8"成语.txt", file)});
    EXPECT_EQ(result.code, kExitProblems);
    const CheckProblem& last = expected.back();
    EXPECT_NE(result.out.find("line " + std::to_string(last.line) + " (offset " +
                              std::to_string(last.lineOffset) + "): "),
              std::string::npos)
        << result.out;
    EXPECT_NE(LastLine(result.out).find(std::to_string(expected.size()) + " problems"),
              std::string::npos);
}

TEST(CheckCommand, JudgesGbkBytesByTheirRanges) {
    // Each at offset 1, after an ASCII byte; the edges of the lead and trail
    // ranges on both sides.
    const std::pair<std::string, bool> cases[] = {
        {"\x81\x40", true},  {"\xFE\x7E", true},  {"\x81\x80", true},  {"\xFE\xFE", true},
        {"\x81\x3F", false}, {"\x81\x7F", false}, {"\x81\xFF", false}, {"\x80", false},
        {"\xFF", false},     {"\xB3", false},
    };
    for (const auto& [bytes, valid] : cases) {
        const CheckReport report = CheckDictionary("a " + bytes + " [b] c\n");
        const bool faulted = !report.problems.empty() &&
                             report.problems[0].kind == ProblemKind::kInvalidGbk &&
                             report.problems[0].message.find("offset 2:") != std::string::npos;
        EXPECT_EQ(faulted, !valid) << std::hex << int(static_cast<unsigned char>(bytes[0]));
    }
}

TEST(CheckCommand, SeesCrOnlyLineEndsAsOneLongLine) {
    const CheckReport report = CheckDictionary(GbkDictionary(kSampleLines, "\r"));
    EXPECT_EQ(report.entries, 1u);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].kind, ProblemKind::kCarriageReturn);
    // The final CR is trimmed like other trailing white space.
    EXPECT_EQ(report.problems[0].message.find(std::to_string(kSampleLines.size() - 1) + " CR"), 0u)
        << report.problems[0].message;
}

TEST(CheckCommand, NamesAFileInAnotherEncodingOnce) {
    const std::u16string utf16 =
        u"一帆风顺 [yī fān fēng shùn] 比喻非常顺利。\r\n守株待兔 [shǒu zhū] 不知变通。\r\n";
    const std::string utf8 = JoinLines(kSampleLines, "\n");
    const std::pair<std::string, FileEncoding> files[] = {
        {"\xEF\xBB\xBF" + utf8, FileEncoding::kUtf8Bom},
        {utf8, FileEncoding::kUtf8},
        {Bytes(u8"成语 [chéng yǔ]\n"), FileEncoding::kUtf8},  // also parses as GBK
        {"\xFF\xFE" + Utf16Bytes(utf16, false), FileEncoding::kUtf16LeBom},
        {"\xFE\xFF" + Utf16Bytes(utf16, true), FileEncoding::kUtf16BeBom},
        {Utf16Bytes(utf16, false), FileEncoding::kUtf16Le},
        {Utf16Bytes(utf16, true), FileEncoding::kUtf16Be},
    };
    for (const auto& [bytes, encoding] : files) {
        const CheckReport report = CheckDictionary(bytes);
        EXPECT_EQ(report.encoding, encoding) << DescribeEncoding(encoding);
        ASSERT_EQ(report.problems.size(), 1u) << DescribeEncoding(encoding);
        EXPECT_EQ(report.problems[0].kind, ProblemKind::kWrongEncoding);
    }

    ScratchDir dir;
    const std::string file = dir.Write(u8"成语.txt", utf8);
    const ToolResult result = RunTool({"check", file});
    EXPECT_EQ(result.code, kExitProblems);
    EXPECT_NE(result.out.find("idiomtool convert " + file), std::string::npos) << result.out;
}

TEST(CheckCommand, TakesAZeroFilledTailForDamageNotUtf16) {
    // What a crash while saving can leave: NULs in both parities alike.
    const CheckReport report = CheckDictionary(GbkDictionary(kSampleLines) + std::string(64, '\0'));
    EXPECT_EQ(report.encoding, FileEncoding::kGbk);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].kind, ProblemKind::kNulByte);
    EXPECT_EQ(report.problems[1].kind, ProblemKind::kEmptyEntry);  // cut at its first byte
    EXPECT_EQ(report.problems[1].line, kSampleLines.size() + 1);
}

TEST(CheckCommand, TellsAnEmptyFileFromOneThatCannotBeRead) {
    ScratchDir dir;
    ToolResult result = RunTool({"check", dir.Write(u8"空.txt", "")});
    EXPECT_EQ(result.code, kExitProblems);
    EXPECT_NE(LastLine(result.out).find("0 entries, 1 problem\n"), std::string::npos) << result.out;

    for (const std::string& unreadable : {dir.Arg(u8"没有.txt"), dir.Arg(u8"")}) {
        result = RunTool({"check", unreadable});
        EXPECT_EQ(result.code, kExitUsage) << unreadable;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(unreadable), std::string::npos) << result.err;
    }
}

}  // namespace
