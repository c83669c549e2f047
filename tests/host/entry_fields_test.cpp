#include "entry_fields.h"

#include <gtest/gtest.h>

#include "exact_bytes.h"
#include "gbk_literal.h"

namespace {

const std::u8string kHead = u8"甲乙丙丁 [jiǎ yǐ bǐng dīng]";

TEST(SplitEntry, WorkedExample) {
    const EntryFields f = SplitEntry(Gbk(kHead + u8"释义。出处：某书。示例：某句。"));
    EXPECT_EQ(f.idiom, Gbk(u8"甲乙丙丁"));
    EXPECT_EQ(f.pronunciation, Gbk(u8" [jiǎ yǐ bǐng dīng]"));
    EXPECT_EQ(f.explanation, Gbk(u8"释义。\r\n\r\n出处：某书。\r\n示例：某句。"));
}

TEST(SplitEntry, EmptyExampleIsDropped) {
    EXPECT_EQ(SplitEntry(Gbk(kHead + u8"释义。出处：某书。示例：无")).explanation,
              Gbk(u8"释义。\r\n\r\n出处：某书。"));
    // Followed by punctuation or white space it is still the empty marker.
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例：无。")), Gbk(u8"甲。"));
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例：无 乙")), Gbk(u8"甲 乙"));
    // A symbol of row A9 (box drawing) is no word either.
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例：无─")), Gbk(u8"甲─"));
    // Nor is a lead byte that ends the text: it is a one-byte character.
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例：无") + "\xB3"), Gbk(u8"甲") + "\xB3");
    // Right before the source section it is followed by that section's break.
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例：无出处：某书")), Gbk(u8"甲\r\n\r\n出处：某书"));
    // With an ASCII colon it is kept and only gets its line break.
    EXPECT_EQ(FormatExplanation(Gbk(u8"甲示例:无")), Gbk(u8"甲\r\n示例:无"));
}

TEST(SplitEntry, ExampleBeginningWith无IsKept) {
    EXPECT_EQ(FormatExplanation(Gbk(u8"释义。示例：无论如何，我们都要去。")),
              Gbk(u8"释义。\r\n示例：无论如何，我们都要去。"));
    EXPECT_EQ(FormatExplanation(Gbk(u8"示例：无名之役")), Gbk(u8"\r\n示例：无名之役"));
    // Also before a character outside GB2312: 犨 is A0 DF.
    EXPECT_EQ(FormatExplanation(Gbk(u8"示例：无犨")), Gbk(u8"\r\n示例：无犨"));
}

TEST(SplitEntry, MissingSeparators) {
    // No space: idiom empty, pronunciation runs from the start through "]".
    EntryFields f = SplitEntry(Gbk(u8"甲乙[jiǎ]释义"));
    EXPECT_EQ(f.idiom, "");
    EXPECT_EQ(f.pronunciation, Gbk(u8"甲乙[jiǎ]"));
    EXPECT_EQ(f.explanation, Gbk(u8"释义"));
    // No "]" after the space: pronunciation empty, explanation keeps the space.
    f = SplitEntry(Gbk(u8"甲乙 释义"));
    EXPECT_EQ(f.idiom, Gbk(u8"甲乙"));
    EXPECT_EQ(f.pronunciation, "");
    EXPECT_EQ(f.explanation, Gbk(u8" 释义"));
    // Leading space: idiom empty, pronunciation starts with it.
    f = SplitEntry(Gbk(u8" [a]b"));
    EXPECT_EQ(f.idiom, "");
    EXPECT_EQ(f.pronunciation, " [a]");
    EXPECT_EQ(f.explanation, "b");
    // "]" inside the idiom is never reached.
    f = SplitEntry("a]b [c]d");
    EXPECT_EQ(f.idiom, "a]b");
    EXPECT_EQ(f.pronunciation, " [c]");
    f = SplitEntry("");
    EXPECT_EQ(f.idiom + f.pronunciation + f.explanation, "");
}

TEST(SplitEntry, TrailBytesAreNeverSeparators) {
    // 覿 = D3 5D: the 0x5D is not a "]".
    EntryFields f = SplitEntry(Gbk(u8"甲 覿[x]y"));
    EXPECT_EQ(f.pronunciation, Gbk(u8" 覿[x]"));
    EXPECT_EQ(f.explanation, "y");
    // A lead byte takes even a space as its second byte (a damaged line), so
    // the idiom does not end there.
    f = SplitEntry("\xB3 a [p]e");
    EXPECT_EQ(f.idiom, "\xB3 a");
    EXPECT_EQ(f.pronunciation, " [p]");
    EXPECT_EQ(f.explanation, "e");
}

TEST(FormatExplanation, MarkersAcrossCharacterBoundariesDoNotMatch) {
    // C4 | B3F6 B4A6 | A1 would show 出处 only if read from the wrong byte.
    const std::string misaligned = std::string("\xC4\xB3\xF6\xB4\xA6\xA1");
    EXPECT_EQ(FormatExplanation(misaligned), misaligned);
    const std::string misalignedExample = std::string("\xC4\xCA\xBE\xC0\xFD\xA1");
    EXPECT_EQ(FormatExplanation(misalignedExample), misalignedExample);
}

TEST(FormatExplanation, EveryMarkerGetsItsBreak) {
    EXPECT_EQ(FormatExplanation(Gbk(u8"出处甲出处乙示例丙示例")),
              Gbk(u8"\r\n\r\n出处甲\r\n\r\n出处乙\r\n示例丙\r\n示例"));
    // A run of empty examples disappears entirely, leaving no line breaks.
    EXPECT_EQ(FormatExplanation(Gbk(u8"示例：无示例：无示例：无")), "");
}

TEST(FormatExplanation, EndsInALoneLeadByteSafely) {
    // Exact-size heap copies: AddressSanitizer sees a read past their end,
    // which a std::string would hide behind its NUL.
    EXPECT_EQ(FormatExplanation(ExactBytes(Gbk(u8"出处") + "\xB3")),
              Gbk(u8"\r\n\r\n出处") + "\xB3");
    // 示例：无 cut in half.
    EXPECT_EQ(FormatExplanation(ExactBytes(Gbk(u8"示例：") + "\xCE")),
              Gbk(u8"\r\n示例：") + "\xCE");
    // The whole entry as well: idiom and pronunciation are searched in it.
    const EntryFields f = SplitEntry(ExactBytes("a [\xB3"));
    EXPECT_EQ(f.idiom, "a");
    EXPECT_EQ(f.pronunciation, "");
    EXPECT_EQ(f.explanation, " [\xB3");
}

}  // namespace

namespace {

TEST(SplitEntry, ShownFieldsAreCutAtACharacterBoundary) {
    // 成 = B3 C9: a field of them cut to an odd number of bytes keeps only
    // whole characters.
    std::string idiom;
    for (int i = 0; i < 3000; ++i) idiom += "\xB3\xC9";
    const std::string entry = idiom + " [" + std::string(9000, 'p') + "]" + std::string(9000, 'x');
    const EntryFields f = SplitEntry(entry, 1001);
    EXPECT_EQ(f.idiom, idiom.substr(0, 1000));
    EXPECT_EQ(f.pronunciation, " [" + std::string(999, 'p'));  // its "]" is cut off
    EXPECT_EQ(f.explanation, std::string(1001, 'x'));
    // Without a limit nothing is cut.
    EXPECT_EQ(SplitEntry(entry).explanation.size(), 9000u);
    EXPECT_EQ(ClipToCharacters("ab", 5), "ab");
    EXPECT_EQ(ClipToCharacters("a\xB3\xC9", 2), "a");
}

}  // namespace
