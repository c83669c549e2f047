#include "gbk_text.h"

#include <gtest/gtest.h>

#include "exact_bytes.h"
#include "gbk_literal.h"

namespace {

TEST(GbkFind, MatchesOnlyWhereACharacterBegins) {
    // 覿 is 0xD3 0x5D: its second byte looks like "]".
    const std::string text = Gbk(u8"覿a]");
    EXPECT_EQ(gbk::Find(text, "]"), 3u);
    // "出处" straddling a boundary: X + B3 F6 B4 A6 split as (X B3)? No: 'X' is
    // one byte, so B3F6 and B4A6 align. Shift by a lead byte to misalign.
    const std::string shifted = std::string("\xC4") + "\xB3\xF6\xB4\xA6" + "\xA1";
    // Characters: C4B3, F6B4, A6A1 -> no "出处" on a boundary.
    EXPECT_EQ(gbk::Find(shifted, "\xB3\xF6\xB4\xA6"), gbk::npos);
    EXPECT_EQ(gbk::Find(Gbk(u8"释义出处"), Gbk(u8"出处")), 4u);
    EXPECT_EQ(gbk::Find("abcabc", "c", 3), 5u);
}

TEST(GbkFind, NeverReadsPastALoneLeadByte) {
    const ExactBytes lone("\xB3");
    EXPECT_EQ(gbk::Find(lone, "\xB3\xF6"), gbk::npos);
    EXPECT_EQ(gbk::Find(lone, "\xB3"), 0u);
    EXPECT_EQ(gbk::Find(ExactBytes("a\xB3"), "]"), gbk::npos);
    EXPECT_EQ(gbk::Find(ExactBytes("a\xB3"), "\xB3\xF6"), gbk::npos);
    // A piece that begins with a trail byte: "]" as its first byte counts.
    EXPECT_EQ(gbk::Find(ExactBytes("]x"), "]"), 0u);
    EXPECT_EQ(gbk::Find(ExactBytes(""), "]"), gbk::npos);
}

TEST(GbkFind, LeadBytesRunFrom81ToFE) {
    // 0x80 and 0xFF are characters of their own; 0x81 and 0xFE take the next
    // byte along, so the first "]" after them is their second byte.
    EXPECT_EQ(gbk::Find("\x80]", "]"), 1u);
    EXPECT_EQ(gbk::Find("\x81]]", "]"), 2u);
    EXPECT_EQ(gbk::Find("\xFE]]", "]"), 2u);
    EXPECT_EQ(gbk::Find("\xFF]", "]"), 1u);
}

TEST(GbkReplaceAll, LeftToRightWithoutRescanningInsertions) {
    EXPECT_EQ(gbk::ReplaceAll("aaa", "aa", "b"), "ba");
    // The replacement contains the pattern: it must not be scanned again.
    EXPECT_EQ(gbk::ReplaceAll("xax", "a", "aa"), "xaax");
    EXPECT_EQ(gbk::ReplaceAll("aXa", "a", ""), "X");
    EXPECT_EQ(gbk::ReplaceAll("", "a", "b"), "");
    // A trail byte equal to the pattern is not replaced.
    const std::string text = Gbk(u8"覿]");
    EXPECT_EQ(gbk::ReplaceAll(text, "]", "!"), Gbk(u8"覿!"));
}

TEST(GbkTrimRight, RemovesOnlyTrailingWhiteSpace) {
    std::string text = " \ta b \t\r\n\v\f";
    gbk::TrimRight(text);
    EXPECT_EQ(text, " \ta b");
    std::string blank = " \t \r\n";
    gbk::TrimRight(blank);
    EXPECT_EQ(blank, "");
    // A GBK character is never cut.
    std::string chinese = Gbk(u8"成语 ");
    gbk::TrimRight(chinese);
    EXPECT_EQ(chinese, Gbk(u8"成语"));
}

TEST(GbkPieces, LeftAndDeletePrefixClampToTheText) {
    EXPECT_EQ(gbk::Left("abc", 2), "ab");
    EXPECT_EQ(gbk::Left("abc", 9), "abc");
    std::string text = "abc";
    gbk::DeletePrefix(text, 1);
    EXPECT_EQ(text, "bc");
    gbk::DeletePrefix(text, 9);
    EXPECT_EQ(text, "");
}

}  // namespace

namespace {

TEST(GbkReplaceAll, PatternEndingInHalfACharacterKeepsBoundaries) {
    // B3 F6 | B3 F6: both characters begin with B3.
    EXPECT_EQ(gbk::ReplaceAll("\xB3\xF6\xB3\xF6", "\xB3", "R"), "R\xF6R\xF6");
}

}  // namespace
