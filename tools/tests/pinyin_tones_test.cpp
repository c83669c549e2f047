// Tone numbers to tone marks: where the mark goes, what ü is written as, the
// neutral tone, and numbers that are no tone.

#include "import/pinyin_tones.h"

#include <gtest/gtest.h>

#include "tool_test_support.h"

namespace {

TEST(PinyinTones, PutsTheMarkWhereThePlacementRuleSays) {
    const std::pair<const char*, std::u8string> cases[] = {
        {"a1 bi2 di4 yu4", u8"ā bí dì yù"},
        {"hao3 jie2 xue2", u8"hǎo jié xué"},             // a or e, wherever it stands
        {"tou1 lou4 zhou1", u8"tōu lòu zhōu"},           // the o of "ou"
        {"gui4 liu2 shuo1 huo3", u8"guì liú shuō huǒ"},  // otherwise the last vowel
        {"lv3 nu:3 lve4 NV3", u8"lǚ nǚ lüè NǙ"},         // v and u: are ü, capitals kept
        {"ba1 zi5 de mei2", u8"bā zi de méi"},           // 5 or nothing: neutral
        {"yi1-fan1 feng1shun4, Er2", u8"yī-fān fēngshùn, Ér"},
        {"n2 ng3 m2 hm1", u8"ń ňg ḿ hm1"},  // no vowel: only where a character exists
    };
    for (const auto& [numbered, marked] : cases) {
        const MarkedPinyin result = MarkTones(numbered);
        EXPECT_TRUE(result.numbered) << numbered;
        EXPECT_EQ(result.error, "") << numbered;
        EXPECT_EQ(result.text, Bytes(marked)) << numbered;
    }
}

TEST(PinyinTones, LeavesPinyinWithoutNumbersAsItIs) {
    for (const std::u8string text : {u8"yī fān fēng shùn", u8"lv lü", u8"2008 nian", u8""}) {
        const MarkedPinyin result = MarkTones(Bytes(text));
        EXPECT_FALSE(result.numbered);
        EXPECT_EQ(result.text, Bytes(text));
    }
}

TEST(PinyinTones, RefusesNumbersThatAreNoToneAndNamesTheSyllable) {
    const std::pair<const char*, const char*> cases[] = {
        {"a1 lv6 di4", "\"lv6\" has the tone number 6"},
        {"a0 bi2", "\"a0\" has the tone number 0"},
        {"yi1 fan12", "\"fan12\" has the tone number 12"},
        {"zhong9", "\"zhong9\" has the tone number 9"},
    };
    for (const auto& [text, message] : cases) {
        const MarkedPinyin result = MarkTones(text);
        EXPECT_NE(result.error.find(message), std::string::npos) << text << ": " << result.error;
        EXPECT_EQ(result.text, text);
    }
}

}  // namespace
