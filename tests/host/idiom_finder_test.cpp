#include "idiom_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gbk_literal.h"

namespace {

// A small dictionary of our own: idiom, space, [pinyin], explanation.
IdiomList Dictionary() {
    IdiomList list;
    for (const char8_t* line : {
             u8"死灰复燃 [sǐ huī fù rán]灰烬又烧起来。",    // 0
             u8"愚公移山 [yú gōng yí shān]不怕困难。",      // 1
             u8"移山倒海 [yí shān dǎo hǎi]力量很大。",      // 2
             u8"山高水长 [shān gāo shuǐ cháng]情谊深长。",  // 3
             u8"绿草如茵 [lǜ cǎo rú yīn]草地柔软。",        // 4
             u8"愚公 [yú gōng]寓言里的老人。",              // 5
             u8"鱼目混珠 yú mù hùn zhū 没有括号。",         // 6
             u8"AA制 [AA zhì]各付各的。",                   // 7
             u8"一言为定 [yī yán，wéi dìng]说话算数。",     // 8
         }) {
        list.push_back(Gbk(line));
    }
    list.push_back(Gbk(u8"一鸣惊人 [yī míng") + "\x80" + Gbk(u8" jīng rén]一下子出名。"));  // 9
    list.push_back("\xB0\x61 [a]");  // 10: a character whose second byte is "a"
    list.push_back("x [q\xA8");      // 11: the line ends inside a character
    return list;
}

struct Found {
    std::vector<std::size_t> entries;
    std::vector<MatchRank> ranks;
    std::size_t total;
};

Found FindIn(const IdiomList& list, const std::string& text, std::size_t limit = 100) {
    const FindResult result = IdiomFinder(list).Find(text, limit);
    Found found{{}, {}, result.total};
    for (const FindMatch& match : result.matches) {
        found.entries.push_back(match.entry);
        found.ranks.push_back(match.rank);
    }
    return found;
}

using Entries = std::vector<std::size_t>;

TEST(IdiomFinder, CharactersRankEqualThenPrefixThenContainsInListOrder) {
    const IdiomList list = Dictionary();
    const Found mountain = FindIn(list, Gbk(u8"山"));
    EXPECT_EQ(mountain.entries, (Entries{3, 1, 2}));
    EXPECT_EQ(mountain.ranks,
              (std::vector<MatchRank>{MatchRank::kIdiomPrefix, MatchRank::kIdiomContains,
                                      MatchRank::kIdiomContains}));
    const Found yugong = FindIn(list, Gbk(u8"愚公"));
    EXPECT_EQ(yugong.entries, (Entries{5, 1}));
    EXPECT_EQ(yugong.ranks[0], MatchRank::kIdiomEqual);
    // The explanation is not searched.
    EXPECT_EQ(FindIn(list, Gbk(u8"困难")).total, 0u);
}

TEST(IdiomFinder, PinyinWithOrWithoutTonesAndSpacesAndInAnyCase) {
    const IdiomList list = Dictionary();
    for (const std::string& text :
         {std::string("yu gong yi shan"), std::string("yugongyishan"), std::string("YuGongYiShan"),
          Gbk(u8"yú gōng yí shān"), Gbk(u8"yúgōng yishan"), std::string("yu'gong-yi shan")}) {
        const Found found = FindIn(list, text);
        EXPECT_EQ(found.entries, Entries{1}) << text;
        EXPECT_EQ(found.ranks, std::vector<MatchRank>{MatchRank::kPinyin}) << text;
    }
    EXPECT_EQ(FindIn(list, "yu gong").entries, (Entries{1, 5}));
    // A typed tone must be the written one.
    EXPECT_EQ(FindIn(list, Gbk(u8"yǔ gōng")).total, 0u);
    // A match starts where a syllable does, and may end inside one.
    EXPECT_EQ(FindIn(list, "ongyi").total, 0u);
    EXPECT_EQ(FindIn(list, "shan ga").entries, Entries{3});
    // Punctuation between syllables separates them like a space.
    EXPECT_EQ(FindIn(list, "weiding").entries, Entries{8});
}

TEST(IdiomFinder, UmlautTypedAsUOrVOrItself) {
    const IdiomList list = Dictionary();
    for (const char8_t* text : {u8"lü cao", u8"lv cao", u8"lu cao", u8"LV", u8"lǜ"}) {
        EXPECT_EQ(FindIn(list, Gbk(text)).entries, Entries{4}) << Gbk(text);
    }
    EXPECT_EQ(FindIn(list, Gbk(u8"lǚ")).total, 0u);
}

TEST(IdiomFinder, InitialsComeAfterEveryPronunciationMatch) {
    const IdiomList list = Dictionary();
    const Found ygys = FindIn(list, "ygys");
    EXPECT_EQ(ygys.entries, Entries{1});
    EXPECT_EQ(ygys.ranks, std::vector<MatchRank>{MatchRank::kInitials});
    EXPECT_EQ(FindIn(list, "YG").entries, (Entries{1, 5}));
    // 死灰复燃 (s h f r) comes first in the list but only by its initials.
    const Found sh = FindIn(list, "sh");
    EXPECT_EQ(sh.entries, (Entries{1, 2, 3, 0}));
    EXPECT_EQ(sh.ranks.back(), MatchRank::kInitials);
    // Tone marks say the text is pinyin, not initials.
    EXPECT_EQ(FindIn(list, Gbk(u8"yǘ")).total, 0u);
}

TEST(IdiomFinder, AMalformedPronunciationIsNotMatchedButItsIdiomIs) {
    const IdiomList list = Dictionary();
    EXPECT_EQ(FindIn(list, "yumu").total, 0u);  // no brackets
    EXPECT_EQ(FindIn(list, Gbk(u8"鱼目")).entries, Entries{6});
    EXPECT_EQ(FindIn(list, "yiming").total, 0u);  // a stray byte
    EXPECT_EQ(FindIn(list, "yjr").total, 0u);
    EXPECT_EQ(FindIn(list, Gbk(u8"一鸣")).entries, Entries{9});
    EXPECT_EQ(FindIn(list, "q").total, 0u);  // cut off inside a character
}

TEST(IdiomFinder, LettersOfTheIdiomIgnoreCaseButNeverMatchInsideACharacter) {
    const IdiomList list = Dictionary();
    const Found aa = FindIn(list, Gbk(u8"aa制"));
    EXPECT_EQ(aa.entries, Entries{7});
    EXPECT_EQ(aa.ranks[0], MatchRank::kIdiomEqual);
    // "a" is the second byte of entry 10's idiom: only its pronunciation
    // matches, never the idiom.
    const Found a = FindIn(list, "A");
    EXPECT_EQ(a.entries, (Entries{7, 10}));
    EXPECT_EQ(a.ranks, (std::vector<MatchRank>{MatchRank::kIdiomPrefix, MatchRank::kPinyin}));
    EXPECT_EQ(FindIn(list, "\xB0\x41").total, 0u);  // a different character
}

TEST(IdiomFinder, EmptyTextFindsNothingAndTheLimitKeepsTheCount) {
    const IdiomList list = Dictionary();
    EXPECT_EQ(FindIn(list, "").total, 0u);
    EXPECT_EQ(FindIn(list, "  \t ").total, 0u);
    EXPECT_EQ(FindIn(list, "  shan ").entries, (Entries{1, 2, 3}));
    const Found limited = FindIn(list, "shan", 2);
    EXPECT_EQ(limited.entries, (Entries{1, 2}));
    EXPECT_EQ(limited.total, 3u);
    EXPECT_EQ(FindIn(IdiomList(), "shan").total, 0u);
    EXPECT_EQ(FindIn(list, "\xA8").total, 0u);  // half a character
}

}  // namespace
