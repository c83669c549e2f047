#include "browsing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Records each refresh with the fields it saw.
class RecordingBrowser : public IdiomBrowser {
public:
    explicit RecordingBrowser(int entries) {
        for (int i = 0; i < entries; ++i) {
            m_arrIdioms.push_back("i" + std::to_string(i) + " [p" + std::to_string(i) + "]e");
        }
    }
    int refreshes = 0;
    std::string lastIdiom;

protected:
    void RefreshFields() override {
        ++refreshes;
        lastIdiom = m_strIdiom;
    }
};

std::string IdiomAt(int index) { return "i" + std::to_string(index); }

TEST(IdiomBrowser, StartEntryShowsARandomEntryOnce) {
    RecordingBrowser browser(50);
    browser.StartEntry();
    ASSERT_GE(browser.m_nCurrent, 0);
    ASSERT_LT(browser.m_nCurrent, 50);
    EXPECT_EQ(browser.refreshes, 1);
    EXPECT_EQ(browser.lastIdiom, IdiomAt(browser.m_nCurrent));
    EXPECT_EQ(browser.m_strPinyin, " [p" + std::to_string(browser.m_nCurrent) + "]");
    EXPECT_EQ(browser.m_strExplain, "e");
}

TEST(IdiomBrowser, StartIsTheRuntimesDrawSeededWithTheSecond) {
    // The start is rand() % N after srand(time), so it moves with the clock;
    // a fixed, unseeded or otherwise drawn start would not match.
    constexpr int kEntries = 30000;
    RecordingBrowser browser(kEntries);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        browser.StartEntry();
        if (std::time(nullptr) != before) {
            continue;  // seeded with either second: try again
        }
        std::srand(static_cast<unsigned>(before));
        EXPECT_EQ(browser.m_nCurrent, std::rand() % kEntries);
        return;
    }
    GTEST_SKIP() << "clock kept ticking over a second boundary";
}

TEST(IdiomBrowser, RunsInTheSameSecondDrawTheSameStart) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        RecordingBrowser first(30000), second(30000);
        first.StartEntry();
        second.StartEntry();
        if (std::time(nullptr) == before) {
            EXPECT_EQ(first.m_nCurrent, second.m_nCurrent);
            return;
        }
    }
    GTEST_SKIP() << "clock kept ticking over a second boundary";
}

TEST(IdiomBrowser, StopsAtIndexOneAndAtTheLastEntry) {
    RecordingBrowser browser(4);
    browser.ShowEntry(3);
    browser.m_nCurrent = 3;
    browser.OnNext();  // stays at the last entry, shown again
    EXPECT_EQ(browser.m_nCurrent, 3);
    EXPECT_EQ(browser.refreshes, 2);
    browser.OnPrev();
    browser.OnPrev();
    EXPECT_EQ(browser.lastIdiom, IdiomAt(1));
    browser.OnPrev();  // index 1 is the lower stop
    EXPECT_EQ(browser.m_nCurrent, 1);
    EXPECT_EQ(browser.lastIdiom, IdiomAt(1));
    EXPECT_EQ(browser.refreshes, 5);
}

TEST(IdiomBrowser, SmallLists) {
    RecordingBrowser one(1);
    one.StartEntry();
    EXPECT_EQ(one.m_nCurrent, 0);
    one.OnNext();
    one.OnPrev();
    EXPECT_EQ(one.m_nCurrent, 0);
    EXPECT_EQ(one.lastIdiom, IdiomAt(0));

    RecordingBrowser two(2);
    two.ShowEntry(0);
    two.m_nCurrent = 0;
    two.OnPrev();  // from 0 Previous stays
    EXPECT_EQ(two.m_nCurrent, 0);
    two.OnNext();
    EXPECT_EQ(two.m_nCurrent, 1);
    two.OnPrev();  // from 1 as well
    two.OnNext();
    EXPECT_EQ(two.m_nCurrent, 1);
}

TEST(IdiomBrowser, EmptyListDrawsAndReadsNothing) {
    RecordingBrowser empty(0);
    empty.StartEntry();
    empty.OnPrev();
    empty.OnNext();
    EXPECT_EQ(empty.refreshes, 0);
    EXPECT_EQ(empty.m_nCurrent, 0);
    EXPECT_EQ(empty.m_strIdiom + empty.m_strPinyin + empty.m_strExplain, "");
}

TEST(IdiomBrowser, EveryClickRewritesTypedFields) {
    RecordingBrowser browser(3);
    browser.StartEntry();
    browser.m_strIdiom = "typed";
    browser.m_strExplain = "typed";
    browser.OnNext();
    browser.OnPrev();
    EXPECT_EQ(browser.m_strIdiom, IdiomAt(browser.m_nCurrent));
    EXPECT_EQ(browser.m_strExplain, "e");
}

}  // namespace

namespace {

TEST(IdiomBrowser, HugeEntriesAreShownCut) {
    // A field is shown up to 8 KiB, cut after its last whole character; the
    // explanation is cut before it is laid out, so the line breaks put in push
    // none of it out.
    const std::string source = "\xB3\xF6\xB4\xA6";  // 出处
    std::string explanation = "x";
    for (int i = 0; i < 3000; ++i) explanation += source;
    RecordingBrowser browser(0);
    browser.m_arrIdioms.push_back("i [p]" + std::string(1000000, ']'));
    browser.m_arrIdioms.push_back("i [p]" + explanation);
    browser.ShowEntry(0);
    EXPECT_EQ(browser.m_strIdiom, "i");
    EXPECT_EQ(browser.m_strPinyin, " [p]");
    EXPECT_EQ(browser.m_strExplain.size(), 8192u);
    EXPECT_EQ(browser.m_strExplain.find_first_not_of(']'), std::string::npos);
    // x and 2047 出处 fill 8189 bytes, 出 ends at 8191, 处 would end at 8193.
    std::string shown = "x";
    for (int i = 0; i < 2047; ++i) shown += "\r\n\r\n" + source;
    shown += "\xB3\xF6";
    browser.ShowEntry(1);
    EXPECT_EQ(browser.m_strExplain.size(), shown.size());
    EXPECT_TRUE(browser.m_strExplain == shown);  // a mismatch would print 16 KB
}

}  // namespace

namespace {

TEST(IdiomBrowser, AFoundEntryIsWherePreviousAndNextGoOnFrom) {
    RecordingBrowser browser(6);
    browser.GoToEntry(3);
    EXPECT_EQ(browser.lastIdiom, IdiomAt(3));
    browser.OnPrev();
    EXPECT_EQ(browser.lastIdiom, IdiomAt(2));
    browser.GoToEntry(5);
    browser.OnNext();
    EXPECT_EQ(browser.lastIdiom, IdiomAt(5));  // the last entry is a stop
    browser.GoToEntry(0);
    browser.OnPrev();
    EXPECT_EQ(browser.lastIdiom, IdiomAt(0));  // below index 1 Previous stays
    const int refreshes = browser.refreshes;
    browser.GoToEntry(6);  // outside the list
    EXPECT_EQ(browser.refreshes, refreshes);
    EXPECT_EQ(browser.m_nCurrent, 0);
}

}  // namespace
