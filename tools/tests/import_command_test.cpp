// idiomtool import: every form of list gives the same dictionary, which
// checks clean and shows each record's fields; what would show wrongly is
// mended or skipped and reported; bad input is refused with its place.

#include <gtest/gtest.h>

#include "commands/file_access.h"
#include "import/import_entry.h"
#include "tool_test_support.h"

namespace {

std::string Fixture(const char* name) { return std::string(IMPORT_FIXTURES) + "/" + name; }

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Shown {
    std::u8string idiom, pinyin, explanation, source, example;
};

// The fixtures' records as the program must show them.
const Shown kFixtureRecords[] = {
    {u8"一帆风顺", u8"yī fān fēng shùn", u8"比喻事情进行得非常顺利。", u8"《某书》：“一路顺风。”",
     u8"祝你此行一帆风顺。"},
    {u8"画蛇添足", u8"huà shé tiān zú", u8"比喻做了多余的事， 反而不好。", u8"",
     u8"这句话写得正好，再加就是画蛇添足了。"},
    {u8"守株待兔", u8"shǒu zhū dài tù", u8"比喻死守经验，不知变通，说\"等着就行\"。", u8"《某书》",
     u8""},
};

std::string ShowOutput(const Shown& r, std::size_t number, std::size_t total) {
    std::string text = Bytes(u8"条目: ") + std::to_string(number) + "/" + std::to_string(total) +
                       "\n" + Bytes(u8"成语: ") + Bytes(r.idiom) + "\n" + Bytes(u8"拼音: [") +
                       Bytes(r.pinyin) + "]\n" + Bytes(u8"解释:") + "\n" + Bytes(r.explanation);
    if (!r.source.empty()) {
        text.append("\n\n").append(Bytes(u8"出处：")).append(Bytes(r.source));
    }
    if (!r.example.empty()) {
        text.append("\n").append(Bytes(u8"示例：")).append(Bytes(r.example));
    }
    return text + "\n";
}

// JSON, CSV, TSV, and JSON with a byte order mark and no extension (found by
// its content) give one dictionary; the input is never written.
TEST(ImportCommand, EveryFormOfListGivesOneDictionaryThatShowsEachRecord) {
    std::string json;
    std::string error;
    ASSERT_TRUE(ReadFileBytes(PathFromUtf8(Fixture("idioms.json")), json, error)) << error;
    ScratchDir dir;
    const std::string bom = dir.Write(u8"列表", "\xEF\xBB\xBF" + json);
    std::vector<std::string> imported;
    // The JSON shapes lists are published in too: keyed by idiom, under a key
    // beside other members, and arrays of fields by position; some fields
    // given as arrays of texts.
    const Args positional = {"--fields", "idiom=0,pinyin=1,explanation=2,source=3,example=4"};
    const std::pair<std::string, Args> lists[] = {
        {Fixture("idioms.json"), {}},        {Fixture("idioms.csv"), {}},
        {Fixture("idioms.tsv"), {}},         {bom, {}},
        {Fixture("keyed.json"), {}},         {Fixture("under_key.json"), {}},
        {Fixture("arrays.json"), positional}};
    for (const auto& [in, options] : lists) {
        Args args = {"import", in, dir.Arg(u8"成语.txt")};
        args.insert(args.end(), options.begin(), options.end());
        const ToolResult result = RunTool(args);
        ASSERT_EQ(result.code, kExitOk) << in << ": " << result.err;
        EXPECT_EQ(result.err, "") << in;
        imported.push_back(dir.Read(u8"成语.txt"));
    }
    for (std::size_t i = 1; i < imported.size(); ++i) EXPECT_EQ(imported[i], imported[0]) << i;
    EXPECT_EQ(dir.FileCount(), 2u);  // no temporary file left over
    EXPECT_EQ(dir.Read(u8"列表"), "\xEF\xBB\xBF" + json);
    EXPECT_EQ(RunTool({"import", bom, bom}).code, kExitUsage);
    EXPECT_EQ(dir.Read(u8"列表"), "\xEF\xBB\xBF" + json);

    const std::string out = dir.Arg(u8"成语.txt");
    const ToolResult check = RunTool({"check", out});
    EXPECT_EQ(check.code, kExitOk) << check.out;
    const std::size_t total = std::size(kFixtureRecords);
    for (std::size_t i = 0; i < total; ++i) {
        const ToolResult show = RunTool({"show", out, std::to_string(i + 1)});
        EXPECT_EQ(show.out, ShowOutput(kFixtureRecords[i], i + 1, total));
    }
}

TEST(ImportCommand, RefusesMalformedListsNamingThePlaceAndWritesNothing) {
    ScratchDir dir;
    const std::string gbkLine = Gbk(u8"帆船,fān chuán,有帆的船。");  // GBK, as Excel saves it
    const std::pair<std::string, std::string> cases[] = {
        {Fixture("missing_comma.json"), "line 3, column 3: syntax error"},
        {Fixture("not_a_list.json"),
         "line 1, column 7: record 1, \"word\", is a string, not an object"},
        {Fixture("not_an_object.json"), "line 3, column 8: record 2 is a string, not an object"},
        {Fixture("unclosed_quote.csv"), "line 2, column 23: the quoted field that opens here"},
        {Fixture("text_after_quote.csv"), "line 2, column 29: text follows the closing quote"},
        {Fixture("short_record.tsv"), "line 3, column 1: the record has 2 fields"},
        {dir.Write(u8"gbk.csv", "word,pinyin,explanation\r" + gbkLine + "\r\x81\x7F"),
         "line 3, column 1: not valid GBK (bytes 81 7F)"},
        {dir.Write(u8"wide.json", "\xFF\xFE" + Utf16Bytes(u"[\xD800]", false)),
         "line 1, column 2: not valid UTF-16"},
        {Fixture("bad_tone.csv"), "record 2 (line 3): its pinyin \"lv6\" has the tone number 6"},
    };
    const std::string out = dir.Write(u8"成语.txt", "old");
    for (const auto& [in, message] : cases) {
        const ToolResult result = RunTool({"import", in, out});
        EXPECT_EQ(result.code, kExitUsage) << in;
        EXPECT_TRUE(Contains(result.err, in + ": ")) << result.err;
        EXPECT_TRUE(Contains(result.err, message)) << result.err;
        EXPECT_EQ(dir.Read(u8"成语.txt"), "old");
    }
    EXPECT_EQ(dir.FileCount(), 3u);
    EXPECT_EQ(RunTool({"import", Fixture("idioms.csv"), out, "--encoding=latin1"}).code,
              kExitUsage);
    EXPECT_EQ(dir.Read(u8"成语.txt"), "old");
}

TEST(ImportCommand, MendsOrSkipsWhatWouldShowWronglyAndSaysWhichRecord) {
    ScratchDir dir;
    const std::string out = dir.Arg(u8"成语.txt");
    const ToolResult result = RunTool({"import", Fixture("awkward.json"), out});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"),
              GbkDictionary({u8"一　帆风顺 [yī fān fēng shùn]比喻顺利。示例：无",
                             u8"画蛇添足 [huà shé tiān zú]比喻多余。出处：《某书》示例：无",
                             u8"守株待兔 [shǒu zhū ［dài］ tù]比喻死守。示例：无",
                             u8"亡羊补牢 [wáng yáng bǔ láo]比喻及时补救。示例：一句；两句"}));
    for (const char* report :
         {"record 1 (line 2): the idiom holds a space", "record 3 (line 4): the pinyin holds",
          "record 4 (line 5): skipped: its explanation holds", "record 5 (line 6): skipped",
          "record 7 (line 8): skipped: its example holds",
          "record 8 (line 9): skipped: its example is an array holding an object, not text",
          "record 9 (line 10): skipped: its idiom is an array of 2 texts, not one",
          "skipped, by reason:\n  1  its explanation holds"}) {
        EXPECT_TRUE(Contains(result.err, report)) << report << "\n" << result.err;
    }
    EXPECT_FALSE(Contains(result.err, "record 2")) << result.err;
    EXPECT_FALSE(Contains(result.err, "record 6")) << result.err;
    EXPECT_TRUE(Contains(result.out, "skipped 5 that would show wrongly")) << result.out;
    EXPECT_EQ(RunTool({"check", out}).code, kExitOk);
}

TEST(ImportCommand, RefusesCharactersGbkCannotHoldUnlessToldToSkipTheirRecords) {
    ScratchDir dir;
    const std::string in =
        dir.Write(u8"列表.csv", Bytes(u8"word,pinyin,explanation\n"
                                      u8"一帆风顺,yī fān,\"顺利，\n没有阻碍。\"\n"
                                      u8"笑脸,xiào liǎn,表情😀。\n"));
    const std::string out = dir.Arg(u8"成语.txt");
    ToolResult result = RunTool({"import", in, out});
    EXPECT_EQ(result.code, kExitProblems);
    EXPECT_TRUE(Contains(result.err, Bytes(u8"record 2 (line 4): \"😀\" U+1F600"))) << result.err;
    EXPECT_FALSE(dir.Exists(u8"成语.txt"));

    result = RunTool({"import", in, out, "--skip-unencodable"});
    EXPECT_EQ(result.code, kExitOk) << result.err;
    EXPECT_EQ(dir.Read(u8"成语.txt"),
              GbkDictionary({u8"一帆风顺 [yī fān]顺利， 没有阻碍。示例：无"}));
    EXPECT_TRUE(Contains(result.out, "1 entry in GBK from 2 records")) << result.out;
}

TEST(ImportCommand, FindsFieldsByTheirUsualNamesOrAsNamed) {
    ScratchDir dir;
    const std::string expected = GbkDictionary({u8"一帆风顺 [yī fān]顺利。出处：《某书》示例：无"});
    const std::string chinese = dir.Write(
        u8"中文.tsv", Bytes(u8"成语\t拼音\t释义\t出处\n一帆风顺\tyī fān\t顺利。\t《某书》\n"));
    const std::string own = dir.Write(
        u8"own.csv", Bytes(u8"Chengyu,py,jieshi,laiyuan\n一帆风顺,yī fān,顺利。,《某书》\n"));
    const std::string out = dir.Arg(u8"成语.txt");

    ASSERT_EQ(RunTool({"import", chinese, out}).code, kExitOk);
    EXPECT_EQ(dir.Read(u8"成语.txt"), expected);

    ToolResult result = RunTool({"import", own, out});
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_TRUE(Contains(result.err, "--fields pinyin=KEY")) << result.err;
    EXPECT_TRUE(Contains(result.err, "\"jieshi\"")) << result.err;
    for (const std::string fields :
         {"--fields=pinyin=py,explanation=jieshi,source=laiyuan", "--fields"}) {
        Args args = {"import", own, out, fields};
        if (fields == "--fields") {
            args.push_back("source=LaiYuan,pinyin=py,explanation=jieshi");
        }
        dir.Write(u8"成语.txt", "old");
        result = RunTool(args);
        EXPECT_EQ(result.code, kExitOk) << result.err;
        EXPECT_EQ(dir.Read(u8"成语.txt"), expected);
    }
    for (const char* bad : {"colour=red", "pinyin", "pinyin=", "pinyin=pinyin"}) {
        EXPECT_EQ(RunTool({"import", own, out, "--fields", bad}).code, kExitUsage) << bad;
    }
    EXPECT_EQ(RunTool({"import", own, out, "--fields"}).code, kExitUsage);
}

TEST(ImportCommand, AnEmptyListGivesAnEmptyDictionaryButNeverInPlaceOfOne) {
    ScratchDir dir;
    for (const std::string& in :
         {Fixture("empty.json"), Fixture("header_only.csv"), dir.Write(u8"blank.json", " \r\n")}) {
        dir.Write(u8"成语.txt", "old");
        ToolResult result = RunTool({"import", in, dir.Arg(u8"成语.txt")});
        EXPECT_EQ(result.code, kExitProblems) << in << ": " << result.err;
        EXPECT_TRUE(Contains(result.err, "holds no records")) << result.err;
        EXPECT_EQ(dir.Read(u8"成语.txt"), "old");

        for (const bool present : {false, true}) {
            std::filesystem::remove(dir.Path() / u8"成语.txt");
            if (present) {
                dir.Write(u8"成语.txt", "");
            }
            result = RunTool({"import", in, dir.Arg(u8"成语.txt")});
            EXPECT_EQ(result.code, kExitOk) << in << ": " << result.err;
            EXPECT_TRUE(Contains(result.out, "holds no records")) << result.out;
            EXPECT_EQ(dir.Read(u8"成语.txt"), "");
        }
    }
}

TEST(ComposeEntry, MakesOneSpaceOfEveryKindOfWhiteSpaceAndDropsItsOwnMarkers) {
    const std::pair<RecordFields, std::u8string> cases[] = {
        {{"\xEF\xBB\xBF甲乙", "  jiǎ\u3000\u00A0yǐ\u2028", "一\u2029\t\r\n二", "", "无"},
         u8"甲乙 [jiǎ yǐ]一 二示例：无"},
        {{"甲乙", "[jiǎ yǐ]", "释义。", "出处: 《某书》", "示例：某句。"},
         u8"甲乙 [jiǎ yǐ]释义。出处：《某书》示例：某句。"},
        {{"[甲]乙", "jiǎ yǐ", "", "", ""}, u8"［甲］乙 [jiǎ yǐ]示例：无"},
    };
    for (const auto& [fields, line] : cases) {
        const ImportedEntry entry = ComposeEntry(fields);
        EXPECT_EQ(entry.skipped, "");
        EXPECT_EQ(entry.line, Bytes(line));
    }
    // A NUL would end the line for the program, so it is no less a control.
    for (const std::string& bell : {std::string("响\a铃"), std::string("响\0铃", 7)}) {
        const ImportedEntry control = ComposeEntry({"甲乙", "jiǎ yǐ", bell, "", ""});
        EXPECT_TRUE(Contains(control.skipped, bell[3] ? "U+0007" : "U+0000")) << control.skipped;
        EXPECT_EQ(control.line, "");
    }
}

}  // namespace
