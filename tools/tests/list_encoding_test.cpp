// Reading a list saved in any of the encodings people save lists in, and
// saying where the bytes stop being what they were read as.

#include "text/list_encoding.h"

#include <gtest/gtest.h>

#include "text/text_codec.h"
#include "tool_test_support.h"

namespace {

const std::u8string kList = u8"word,pinyin\n一帆风顺,yī fān\n屡教不改,lǚ jiào\n";

TEST(ListEncoding, ReadsEveryEncodingAListIsSavedIn) {
    const std::string utf8 = Bytes(kList);
    const std::u16string wide = u"word,pinyin\n一帆风顺,yī fān\n屡教不改,lǚ jiào\n";
    const std::pair<std::string, const char*> cases[] = {
        {utf8, "UTF-8"},
        {"\xEF\xBB\xBF" + utf8, "UTF-8 with a byte order mark"},
        {"\xFF\xFE" + Utf16Bytes(wide, false), "UTF-16 little-endian"},
        {"\xFE\xFF" + Utf16Bytes(wide, true), "UTF-16 big-endian"},
        {Gbk(kList), "GBK"},
    };
    for (const auto& [bytes, encoding] : cases) {
        const ListText list = DecodeListText(bytes, ListEncoding::kDetect);
        EXPECT_EQ(list.error, "") << encoding;
        EXPECT_EQ(list.encoding, encoding);
        EXPECT_EQ(list.text, utf8) << encoding;
    }
    // GB18030's four-byte characters reach what GBK cannot: U+1F600 here.
    const ListText emoji = DecodeListText(Gbk(u8"笑,") + "\x94\x39\xFC\x36", ListEncoding::kDetect);
    if (HasFourByteGb18030()) {
        EXPECT_EQ(emoji.text, Bytes(u8"笑,😀"));
    } else {
        EXPECT_EQ(emoji.error.rfind("line 1, column 3: not valid", 0), 0u) << emoji.error;
    }
}

TEST(ListEncoding, ANamedEncodingIsTakenAsNamed) {
    // Two GBK characters whose bytes are valid UTF-8 as well (U+04BB U+03BB).
    const std::string both = Gbk(u8"一位");
    ASSERT_EQ(DecodeListText(both, ListEncoding::kDetect).encoding, "UTF-8");
    EXPECT_EQ(DecodeListText(both, ListEncoding::kGb18030).text, Bytes(u8"一位"));
    EXPECT_EQ(DecodeListText(Utf16Bytes(u"甲,乙", false), ListEncoding::kUtf16).text,
              Bytes(u8"甲,乙"));

    ListEncoding encoding = ListEncoding::kDetect;
    for (const char* name : {"GBK", "gb18030", "CP936"}) {
        encoding = ListEncoding::kDetect;
        EXPECT_TRUE(ParseListEncoding(name, encoding)) << name;
        EXPECT_EQ(encoding, ListEncoding::kGb18030) << name;
    }
    EXPECT_TRUE(ParseListEncoding("Utf-16", encoding));
    EXPECT_EQ(encoding, ListEncoding::kUtf16);
    EXPECT_FALSE(ParseListEncoding("latin1", encoding));
    EXPECT_FALSE(ParseListEncoding("", encoding));
}

// A GBK list with one bad byte is reported as GBK at that byte; a UTF-8 list
// damaged far in is reported as UTF-8 there, though both fail either way.
TEST(ListEncoding, NamesThePlaceWhereTheLikelierEncodingStops) {
    const std::string gbk =
        Gbk(u8"word,pinyin\r\n一帆风顺,yī fān\r\n屡教") + "\xFF" + Gbk(u8"不改\r\n");
    ListText list = DecodeListText(gbk, ListEncoding::kDetect);
    EXPECT_EQ(list.text, "");
    EXPECT_EQ(list.error.rfind("line 3, column 3: not valid GBK (bytes FF", 0), 0u) << list.error;

    const std::string utf8 = Bytes(kList) + Bytes(u8"画蛇,") + "\xE6\x88" + Bytes(u8"huà\n");
    list = DecodeListText(utf8, ListEncoding::kDetect);
    EXPECT_EQ(list.error.rfind("line 4, column 4: not valid UTF-8", 0), 0u) << list.error;

    list = DecodeListText(Gbk(u8"成语") + "\xB3", ListEncoding::kGb18030);
    EXPECT_EQ(list.error, "line 1, column 3: not valid GBK (bytes B3)");
    list = DecodeListText("\xFF\xFE" + Utf16Bytes(u"a\nb", false) + Utf16Bytes(u"\xDC00", false),
                          ListEncoding::kDetect);
    EXPECT_EQ(list.error.rfind("line 2, column 2: not valid UTF-16", 0), 0u) << list.error;
}

}  // namespace
