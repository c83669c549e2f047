// The dictionary shipped with the program must load cleanly: valid GBK on
// every line, and every entry with an idiom, a pronunciation and an
// explanation.
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <iterator>
#include <set>

#include "entry_fields.h"
#include "idiom_list.h"

namespace {

bool IsValidGbk(std::string_view text) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    std::string in(text), out(text.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return ok;
}

TEST(StarterDictionary, EveryLineIsValidGbkAndSplitsIntoThreeFields) {
    IdiomList list;
    ASSERT_TRUE(LoadIdiomList(list, STARTER_DICTIONARY));
    EXPECT_GE(list.size(), 200u);
    std::set<std::string> idioms;
    for (std::size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_TRUE(IsValidGbk(list[i]));
        const EntryFields fields = SplitEntry(list[i]);
        EXPECT_FALSE(fields.idiom.empty());
        EXPECT_GE(fields.pronunciation.size(), 3u);
        EXPECT_EQ(fields.pronunciation.substr(0, 2), " [");
        EXPECT_FALSE(fields.explanation.empty());
        EXPECT_TRUE(idioms.insert(fields.idiom).second) << "duplicate";
    }
}

TEST(StarterDictionary, LinesEndInCrLf) {
    std::ifstream in(STARTER_DICTIONARY, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "offset " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "offset " << i;
        }
    }
}

}  // namespace
