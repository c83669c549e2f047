// idiomtool import on the lists people publish: a dictionary is never lost
// to a list none of whose records can be kept; JSON in every usual shape;
// fields a list lacks; arrays of texts joined; the fields: line.

#include <gtest/gtest.h>

#include <algorithm>

#include "import/record_fields.h"
#include "tool_test_support.h"

namespace {

std::string Fixture(const char* name) { return std::string(IMPORT_FIXTURES) + "/" + name; }

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The first line of `text` that starts with `prefix`.
std::string LineStarting(const std::string& text, const std::string& prefix) {
    const std::size_t at = text.find(prefix);
    return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

TEST(ImportNeverLoses, WritesNothingWhenNoRecordIsKeptAndCountsEveryReason) {
    ScratchDir dir;
    const std::string good = GbkDictionary(kSampleLines);
    std::string arrays = "[";
    for (int i = 0; i < 25; ++i) {
        arrays += std::string(i ? "," : "") + Bytes(u8"\n{\"word\": \"甲乙") + std::to_string(i) +
                  "\", \"pinyin\": \"a\", \"explanation\": \"b\", \"example\": [{\"t\": \"c\"}]}";
    }
    const std::string list = dir.Write(u8"arrays.json", arrays + "\n]");
    const std::string csv =
        dir.Write(u8"list.csv", Bytes(u8"word,pinyin,explanation,derivation\n一帆风顺,yī,顺利。,\n"
                                      u8"笑脸,xiào,表情😀。,\n"));
    const std::string emoji =
        dir.Write(u8"emoji.csv", Bytes(u8"word,pinyin,explanation\n笑脸,xiào,😀\n哭脸,kū,😢\n"));
    struct Case {
        Args args;
        std::string reason;
    };
    const Case cases[] = {
        {{list}, "  25  its example is an array holding an object, not text\n"},
        {{csv, "--fields", "idiom=derivation"}, "  2  it has no idiom\n"},
        {{emoji, "--skip-unencodable"}, "  2  it holds a character GBK cannot hold\n"},
    };
    for (const bool present : {true, false}) {
        for (const Case& c : cases) {
            std::filesystem::remove(dir.Path() / u8"成语.txt");
            if (present) {
                dir.Write(u8"成语.txt", good);
            }
            Args args = {"import", c.args[0], dir.Arg(u8"成语.txt")};
            args.insert(args.end(), c.args.begin() + 1, c.args.end());
            const ToolResult result = RunTool(args);
            EXPECT_EQ(result.code, kExitProblems) << c.args[0];
            EXPECT_TRUE(Contains(result.err, "skipped, by reason:\n" + c.reason)) << result.err;
            EXPECT_TRUE(Contains(result.err, "could be kept")) << result.err;
            EXPECT_EQ(Contains(result.err, "left as it was"), present) << result.err;
            EXPECT_EQ(dir.Exists(u8"成语.txt"), present);
            if (present) {
                EXPECT_EQ(dir.Read(u8"成语.txt"), good);
            }
        }
    }
    // 25 skipped records: the first 20 named, the rest only counted.
    const ToolResult result = RunTool({"import", list, dir.Arg(u8"成语.txt")});
    EXPECT_EQ(CountOf(result.err, ": skipped: "), 20u) << result.err;
    EXPECT_TRUE(Contains(result.err, "record 20 (line 21): skipped")) << result.err;
    EXPECT_TRUE(Contains(result.err, "(5 more lines about single records not shown")) << result.err;
}

TEST(ImportShapes, RefusesBadShapesNamingRecordAndLineAndLeavesOutAlone) {
    ScratchDir dir;
    const std::string out = dir.Write(u8"成语.txt", "old");
    const std::string positional = "idiom=0,pinyin=1,explanation=2";
    const std::pair<Args, std::vector<std::string>> cases[] = {
        {{Fixture("keyed_strings.json")},
         {"line 3, column 8: record 2, \"" + Bytes(u8"画蛇添足") +
          "\", is a string, not an object"}},
        {{Fixture("short_array.json"), "--fields", positional},
         {"record 2 (line 3) has 2 fields, none at position 2 for the explanation"}},
        {{Fixture("mixed_records.json")},
         {"line 3, column 3: record 2 is an array, where the records before it are objects"}},
        {{Fixture("two_lists.json")},
         {"several arrays of records (\"idioms\", \"drafts\")", "--records KEY"}},
        {{Fixture("keyed.json"), "--records", "nope"}, {"no key \"nope\"", "its keys are"}},
        {{Fixture("under_key.json"), "--records=count"}, {"\"count\" (--records) holds no array"}},
        {{Fixture("idioms.csv"), "--records", "idioms"}, {"--records is for JSON lists"}},
        {{Fixture("idioms.json"), "--records", "idioms"}, {"but the list is an array"}},
        {{Fixture("arrays.json")},
         {"the records are arrays", "record 1 holds 0 \"" + Bytes(u8"一帆风顺") + "\", 1 \"" +
                                        Bytes(u8"yī fān fēn...") + "\""}},
        {{Fixture("arrays.json"), "--fields", "idiom=0,pinyin=9"},
         {"no field \"9\" for the pinyin", "its records have 5 fields"}},
    };
    for (const auto& [options, messages] : cases) {
        Args args = {"import", options[0], out};
        args.insert(args.end(), options.begin() + 1, options.end());
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.code, kExitUsage) << options[0];
        for (const std::string& message : messages) {
            EXPECT_TRUE(Contains(result.err, message)) << message << "\n" << result.err;
        }
        EXPECT_EQ(dir.Read(u8"成语.txt"), "old");
    }
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(ImportShapes, ReadsOnlyTheRecordsUnderTheKeyNamed) {
    ScratchDir dir;
    const std::string out = dir.Arg(u8"成语.txt");
    ToolResult result = RunTool({"import", Fixture("two_lists.json"), out, "--records", "drafts",
                                 "--fields", "idiom=0,pinyin=1"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary({u8"画蛇添足 [huà shé tiān zú]示例：无"}));
    result = RunTool({"import", Fixture("two_lists.json"), out, "--records=idioms", "--fields",
                      "idiom=0,pinyin=1,explanation=2"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"),
              GbkDictionary({u8"一帆风顺 [yī fān fēng shùn]比喻事情进行得非常顺利。示例：无"}));
}

// Lines are counted as an editor counts them, lone CRs too.
TEST(ImportShapes, NamesTheLineOfEachJsonRecord) {
    ScratchDir dir;
    const std::string in =
        dir.Write(u8"list.json",
                  "[{\"word\": \"\", \"pinyin\": \"a\", \"explanation\": \"b\"},\r"
                  "{\"word\": \"x\", \"pinyin\": \"a\", \"explanation\": \"b\"},\r\n\r\n"
                  "  {\"word\": \"\",\n \"pinyin\": \"a\", \"explanation\": \"b\"}]");
    const ToolResult result = RunTool({"import", in, dir.Arg(u8"成语.txt")});
    EXPECT_EQ(result.code, kExitOk) << result.err;
    EXPECT_TRUE(Contains(result.err, "record 1 (line 1): skipped")) << result.err;
    EXPECT_TRUE(Contains(result.err, "record 3 (line 4): skipped")) << result.err;
}

TEST(ImportFields, AFieldTheListLacksIsDeclaredWithNothingAfterTheEquals) {
    ScratchDir dir;
    const std::string in =
        dir.Write(u8"list.csv", Bytes(u8"word,jieshi,laiyuan\n一帆风顺,顺利。,《某书》\n"));
    const std::string out = dir.Arg(u8"成语.txt");
    ToolResult result = RunTool({"import", in, out});
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_EQ(CountOf(result.err, "\n"), 1u) << result.err;  // every missing role in one message
    for (const char* part :
         {"no field for the pinyin and the explanation found",
          "--fields pinyin=KEY,explanation=KEY", "--fields pinyin=,explanation="}) {
        EXPECT_TRUE(Contains(result.err, part)) << part << "\n" << result.err;
    }
    result = RunTool({"import", in, out, "--fields", "explanation=jiesh,source=laiyuan2"});
    EXPECT_EQ(CountOf(result.err, "\n"), 1u) << result.err;
    for (const char* part : {"no field \"jiesh\" for the explanation",
                             "no field \"laiyuan2\" for the source", "no field for the pinyin"}) {
        EXPECT_TRUE(Contains(result.err, part)) << part << "\n" << result.err;
    }
    EXPECT_FALSE(dir.Exists(u8"成语.txt"));

    result = RunTool({"import", in, out, "--fields", "pinyin=,explanation=jieshi,source=laiyuan"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"), GbkDictionary({u8"一帆风顺 []顺利。出处：《某书》示例：无"}));
    EXPECT_TRUE(Contains(result.out, "pinyin=(none)")) << result.out;
    EXPECT_EQ(RunTool({"check", out}).code, kExitOk);

    result = RunTool({"import", in, out, "--fields", "idiom="});
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_TRUE(Contains(result.err, "every entry needs one")) << result.err;
}

TEST(ImportFields, TheFieldsLineNamesUnusedColumnsAndCandidatesPassedOver) {
    ScratchDir dir;
    const std::string out = dir.Arg(u8"成语.txt");
    const std::string csv =
        dir.Write(u8"list.csv", Bytes(u8"id,Word,word,pinyin,explanation,meaning,tags\n"
                                      u8"1,一帆风顺,一帆风顺,yī,顺利。,平安。,旅行\n"));
    const std::pair<Args, std::string> cases[] = {
        {{csv},
         "fields: idiom=word (passed over: Word), pinyin=pinyin, explanation=explanation "
         "(passed over: meaning), source=(none), example=(none); unused: id, Word, meaning, tags"},
        {{csv, "--fields", "explanation=meaning,idiom=Word"},
         "fields: idiom=Word (passed over: word), pinyin=pinyin, explanation=meaning (passed "
         "over: explanation), source=(none), example=(none); unused: id, word, explanation, tags"},
        {{Fixture("keyed.json")},
         "fields: idiom=(each record's key), pinyin=pinyin, explanation=explanation, "
         "source=derivation, example=example; unused: none"},
        {{Fixture("arrays.json"), "--fields", "idiom=0,pinyin=1,explanation=2"},
         "fields: idiom=0, pinyin=1, explanation=2, source=(none), example=(none); unused: 3, 4"},
    };
    for (const auto& [options, fields] : cases) {
        Args args = {"import", options[0], out};
        args.insert(args.end(), options.begin() + 1, options.end());
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.code, kExitOk) << result.err;
        EXPECT_EQ(LineStarting(result.out, "fields: "), fields);
    }
}

TEST(JoinItems, JoinsSoThatTheFieldReadsRightOnOneLine) {
    struct Case {
        std::vector<std::u8string> items;
        Role role;
        std::u8string joined;
    };
    const Case cases[] = {
        {{u8"yī", u8" máo ", u8"", u8"bù", u8"bá"}, Role::kPinyin, u8"yī máo bù bá"},
        {{u8"他一毛不拔。", u8"她也是", u8"  ", u8"“好！”", u8"真的？", u8"甲，", u8"乙"},
         Role::kExample,
         u8"他一毛不拔。她也是；“好！”真的？甲，乙"},
        {{u8"比喻极其吝啬", u8"也作一毛不施"}, Role::kExplanation, u8"比喻极其吝啬；也作一毛不施"},
        {{u8"Very stingy.", u8"Not giving"}, Role::kExplanation, u8"Very stingy. Not giving"},
        {{u8" 一毛不拔 "}, Role::kIdiom, u8"一毛不拔"},
        {{}, Role::kSource, u8""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> items;
        for (const std::u8string& item : c.items) items.push_back(Bytes(item));
        std::string joined = "stale", refusal;
        EXPECT_TRUE(JoinItems(items, c.role, joined, refusal)) << refusal;
        EXPECT_EQ(joined, Bytes(c.joined));
    }
    std::string joined, refusal;
    EXPECT_FALSE(JoinItems({"一毛不拔", "一毛不施"}, Role::kIdiom, joined, refusal));
    EXPECT_EQ(refusal, "its idiom is an array of 2 texts, not one");
}

}  // namespace
