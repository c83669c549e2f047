// The codec is the only place where text changes encoding; its offsets are
// what the line and character reports rest on.

#include "text/text_codec.h"

#include <gtest/gtest.h>

#include "idiom_list.h"
#include "tool_test_support.h"

namespace {

TEST(TextCodec, ConvertsTheDictionaryNameBothWays) {
    std::string gbk;
    ASSERT_TRUE(Utf8ToGbk(Bytes(u8"成语.txt"), gbk).ok());
    EXPECT_EQ(gbk, kIdiomFileName);
    std::string utf8;
    ASSERT_TRUE(GbkToUtf8(kIdiomFileName, utf8).ok());
    EXPECT_EQ(utf8, Bytes(u8"成语.txt"));
    EXPECT_TRUE(GbkToUtf8("", utf8).ok());
    EXPECT_EQ(utf8, "");
}

TEST(TextCodec, PointsAtTheFirstBadGbkCharacter) {
    const std::string good = Gbk(u8"成语 ");
    // A lead byte before a space, a byte no character starts with, a lead
    // byte cut off by the end.
    for (const std::string bad : {"\xB3 ok", "\xFFok", "\xB3"}) {
        std::string utf8;
        const CodecResult result = GbkToUtf8(good + bad, utf8);
        EXPECT_EQ(result.status, CodecStatus::kInvalidInput) << bad;
        EXPECT_EQ(result.offset, good.size()) << bad;
    }
}

TEST(TextCodec, TellsInvalidUtf8FromCharactersGbkCannotHold) {
    const std::string before = Bytes(u8"成语 ");
    const std::string emoji = Bytes(u8"😀");
    std::string gbk;
    CodecResult result = Utf8ToGbk(before + emoji + "x", gbk);
    EXPECT_EQ(result.status, CodecStatus::kUnencodable);
    EXPECT_EQ(result.offset, before.size());

    // Invalid input wins even when an unencodable character comes first.
    result = Utf8ToGbk(before + emoji + "\xC3(", gbk);
    EXPECT_EQ(result.status, CodecStatus::kInvalidInput);
    EXPECT_EQ(result.offset, before.size() + emoji.size());
    EXPECT_EQ(CheckUtf8(before + "\xE6\x88").offset, before.size());  // cut short
    EXPECT_TRUE(CheckUtf8(before + emoji).ok());
}

// The bounds of well-formed UTF-8, each just inside and just outside.
TEST(TextCodec, KnowsWellFormedUtf8FromEveryKindOfIllFormed) {
    const std::string before = Bytes(u8"成语 abcdefgh ");  // past the eight-byte ASCII steps
    for (const std::string good : {"\xC2\x80", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
                                   "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\x7F"}) {
        EXPECT_TRUE(CheckUtf8(before + good + "x").ok()) << good;
    }
    // Overlong, surrogate, past U+10FFFF, no lead, cut short, never a lead.
    for (const std::string bad :
         {"\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
          "\x80", "\xE6\x88x", "\xF5\x80\x80\x80", "\xFF"}) {
        const CodecResult result = CheckUtf8(before + bad + "abcdefghij");
        EXPECT_EQ(result.status, CodecStatus::kInvalidInput) << bad;
        EXPECT_EQ(result.offset, before.size()) << bad;
    }
}

TEST(TextCodec, ReadsUtf16InEitherByteOrder) {
    const std::u16string text = u"成语 [chéng yǔ] 😀";
    for (const bool bigEndian : {false, true}) {
        std::string utf8;
        ASSERT_TRUE(Utf16ToUtf8(Utf16Bytes(text, bigEndian), bigEndian, utf8).ok());
        EXPECT_EQ(utf8, Bytes(u8"成语 [chéng yǔ] 😀"));

        const std::string lone = Utf16Bytes(u"ab", bigEndian) + Utf16Bytes(u"\xD83D", bigEndian) +
                                 Utf16Bytes(u"c", bigEndian);
        CodecResult result = Utf16ToUtf8(lone, bigEndian, utf8);
        EXPECT_EQ(result.status, CodecStatus::kInvalidInput);
        EXPECT_EQ(result.offset, 4u);

        result = Utf16ToUtf8(Utf16Bytes(u"ab", bigEndian) + "x", bigEndian, utf8);
        EXPECT_EQ(result.status, CodecStatus::kInvalidInput);
        EXPECT_EQ(result.offset, 4u);
    }
}

}  // namespace
