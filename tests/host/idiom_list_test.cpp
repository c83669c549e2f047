#include "idiom_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "gbk_literal.h"
#include "scratch_dir.h"

namespace {

std::vector<std::string> Read(const std::string& bytes) {
    std::istringstream in(bytes);
    IdiomList list;
    ReadIdiomList(in, list);
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.size(); ++i) entries.emplace_back(list[i]);
    return entries;
}

using Entries = std::vector<std::string>;

TEST(ReadIdiomList, LineEndsAndTrimming) {
    EXPECT_EQ(Read("a\nb\n"), (Entries{"a", "b"}));                 // no entry after final LF
    EXPECT_EQ(Read("a\r\nb"), (Entries{"a", "b"}));                 // last line without LF
    EXPECT_EQ(Read("a\n\n \t\nb\n"), (Entries{"a", "", "", "b"}));  // blanks stay
    EXPECT_EQ(Read("  a \t\v\f\r\n"), (Entries{"  a"}));            // leading kept
    EXPECT_EQ(Read("a\rb\rc\r"), (Entries{"a\rb\rc"}));             // CR alone ends nothing
    EXPECT_EQ(Read("\n"), (Entries{""}));
    EXPECT_EQ(Read(""), (Entries{}));
}

TEST(ReadIdiomList, BytesAreTakenAsTheyAre) {
    const std::string bom =
        "\xEF\xBB\xBF"
        "abc";
    EXPECT_EQ(Read(bom + "\r\n"), (Entries{bom}));
    const std::string chinese = Gbk(u8"成语 [chéng yǔ]固定词组");
    EXPECT_EQ(Read(chinese + "\r\n" + chinese), (Entries{chinese, chinese}));
    // A line ending in a lone lead byte keeps it.
    EXPECT_EQ(Read("a\xB3\r\n\xF6z"), (Entries{"a\xB3", "\xF6z"}));
}

TEST(ReadIdiomList, NulEndsItsEntryOnly) {
    using namespace std::string_literals;
    EXPECT_EQ(Read("ab\0cd\nef\n"s), (Entries{"ab", "ef"}));
    EXPECT_EQ(Read("\0\0\0\n\0x"s), (Entries{"", ""}));
    EXPECT_EQ(Read("a \0b\n"s), (Entries{"a"}));  // trimmed after the cut
}

TEST(ReadIdiomList, LongLinesStayWhole) {
    for (std::size_t length : {1997u, 1998u, 1999u, 2000u, 4000u, 1000000u}) {
        std::string line(length, 'x');
        for (std::size_t i = 0; i + 1 < length; i += 7) line[i] = '\xB3', line[i + 1] = '\xC9';
        const Entries got = Read(line + "\r\n" + "next\r\n");
        ASSERT_EQ(got.size(), 2u) << length;
        EXPECT_EQ(got[0], line) << length;
        EXPECT_EQ(got[1], "next");
    }
}

TEST(ReadIdiomList, LinesAcrossReadBlocks) {
    // Many short lines with dropped bytes, spanning several internal blocks:
    // each entry must come out intact and in order.
    std::string file;
    Entries expected;
    for (int i = 0; i < 300000; ++i) {
        std::string entry = "entry" + std::to_string(i);
        if (i % 3 == 0) entry = " " + entry;
        expected.push_back(entry);
        file += entry + (i % 2 ? "\r\n" : " \t\n");
    }
    EXPECT_EQ(Read(file), expected);
}

TEST(IdiomList, AppendsAfterLoadingAndCopies) {
    IdiomList list;
    list.push_back("first");
    std::istringstream in("second\r\nthird");
    ReadIdiomList(in, list);
    list.push_back("");
    list.push_back("fourth");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0], "first");
    EXPECT_EQ(list[1], "second");
    EXPECT_EQ(list[2], "third");
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list[4], "fourth");
    IdiomList copy = list;
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(copy[4], "fourth");
}

class LoadIdiomListFile : public ::testing::Test {
protected:
    ScratchDir m_scratch;
    const std::filesystem::path& m_dir = m_scratch.Path();
};

TEST_F(LoadIdiomListFile, OpensByPathAndReportsFailure) {
    IdiomList list;
    EXPECT_FALSE(LoadIdiomList(list, m_dir / "missing.txt"));
    EXPECT_TRUE(list.empty());

    const auto file = m_dir / std::filesystem::u8path(u8"成语.txt");
    std::ofstream(file, std::ios::binary) << Gbk(u8"一 [yī]一\r\n二 [èr]二\r\n");
    EXPECT_TRUE(LoadIdiomList(list, file));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1], Gbk(u8"二 [èr]二"));
}

TEST_F(LoadIdiomListFile, UnreadableFilesLoadNothingAndDoNotHang) {
    // A directory opens on some systems but cannot be read: no entries.
    IdiomList list;
    const auto dir = m_dir / "dir.txt";
    std::filesystem::create_directory(dir);
    LoadIdiomList(list, dir);
    EXPECT_TRUE(list.empty());
    if (geteuid() != 0) {  // root reads everything
        const auto locked = m_dir / "locked.txt";
        std::ofstream(locked) << "a\n";
        chmod(locked.c_str(), 0);
        EXPECT_FALSE(LoadIdiomList(list, locked));
    }
}

}  // namespace
