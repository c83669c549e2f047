#include "idiom_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "gbk_literal.h"
#include "scratch_dir.h"

namespace {

using Entries = std::vector<std::string>;

Entries EntriesOf(const IdiomList& list) {
    Entries entries;
    for (std::size_t i = 0; i < list.size(); ++i) entries.emplace_back(list[i]);
    return entries;
}

Entries Read(const std::string& bytes) {
    std::istringstream in(bytes);
    IdiomList list;
    ReadIdiomList(in, list);
    return EntriesOf(list);
}

// Hands out its bytes at most `piece` at a time, as a pipe or a slow device.
class PieceSource : public ByteSource {
public:
    PieceSource(std::string_view bytes, std::size_t piece) : m_rest(bytes), m_piece(piece) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, m_piece, m_rest.size()});
        std::memcpy(buffer, m_rest.data(), n);
        m_rest.remove_prefix(n);
        return n;
    }

private:
    std::string_view m_rest;
    std::size_t m_piece;
};

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

TEST(ReadIdiomList, PiecesGiveTheSameEntriesAsOneRead) {
    using namespace std::string_literals;
    struct Case {
        std::string file;
        Entries expected;
    };
    const Case cases[] = {
        // CR LF, a two-byte character, trailing blanks and a NUL fall across
        // the edges of small pieces.
        {"a\r\n\r\n \t\n"s + Gbk(u8"成语 [chéng yǔ]") + "\xB3\r\nx\0y\r\nlast"s,
         {"a", "", "", Gbk(u8"成语 [chéng yǔ]") + "\xB3", "x", "last"}},
        // A NUL well before its line's LF, NULs on their own, a blank line and
        // a last line without LF that a NUL cuts.
        {"ab\0cd\r\n\0\0\n x \t\n\nlong line\r\ntail\0end"s,
         {"ab", "", " x", "", "long line", "tail"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.file), c.expected);
        for (std::size_t sizeHint : {std::size_t{0}, c.file.size(), c.file.size() / 3}) {
            for (std::size_t piece = 1; piece <= c.file.size(); ++piece) {
                PieceSource source(c.file, piece);
                IdiomList list;
                ReadIdiomList(source, list, sizeHint);
                EXPECT_EQ(EntriesOf(list), c.expected)
                    << "pieces of " << piece << ", hint " << sizeHint;
            }
        }
    }
}

// A file of many lines across many read blocks, with lines longer than the
// pieces it is read in. Whatever the pieces and however far the size hint is
// off, every entry must come out intact and in order, also after the buffer
// has grown.
TEST(ReadIdiomList, LargeFileGivesEveryEntryWhateverTheHint) {
    using namespace std::string_literals;
    const std::string idiom = Gbk(u8"成语");
    std::string file;
    Entries expected;
    while (file.size() < (std::size_t{6} << 20)) {
        const std::string n = std::to_string(expected.size());
        const std::string chars(expected.size() % 701 == 2 ? 700'000 : 150, 'x');
        const std::pair<std::string, std::string> kinds[] = {
            {idiom + n + " \t\r\n", idiom + n},
            {n + "\0cut\r\n"s, n},
            {"\n", ""},
            {chars + n + "\r\n", chars + n},
            {" " + n + "\r\n", " " + n},
        };
        const auto& [line, entry] = kinds[expected.size() % 5];
        file += line;
        expected.push_back(entry);
    }
    file += "last \0without LF"s;
    expected.push_back("last");

    const std::size_t mib = std::size_t{1} << 20;
    struct Case {
        std::size_t piece, sizeHint;
    };
    // No hint; whole reads; pieces that end lines at every offset of the
    // reader's own pieces; a file that grew since its size was told (the
    // buffer fills up and grows) and one that shrank.
    for (const Case c :
         {Case{file.size(), 0}, Case{file.size(), file.size()}, Case{4099, file.size()},
          Case{file.size(), file.size() - 3 * mib}, Case{65536, file.size() + mib}}) {
        PieceSource source(file, c.piece);
        IdiomList list;
        list.push_back("before");
        ReadIdiomList(source, list, c.sizeHint);
        Entries got = EntriesOf(list);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.front(), "before");
        got.erase(got.begin());
        EXPECT_TRUE(got == expected) << "pieces of " << c.piece << ", hint " << c.sizeHint << ": "
                                     << got.size() << " entries, not " << expected.size();
    }

    // A source that fails by throwing leaves through the loader, and the
    // entries read before it failed stay intact when more are added.
    class ThrowingSource : public PieceSource {
    public:
        using PieceSource::PieceSource;
        std::size_t Read(char* buffer, std::size_t size) override {
            if (++m_reads == 50) throw std::runtime_error("device gone");
            return PieceSource::Read(buffer, size);
        }

    private:
        int m_reads = 0;
    };
    ThrowingSource failing(file, 4096);
    IdiomList list;
    EXPECT_THROW(ReadIdiomList(failing, list, file.size()), std::runtime_error);
    list.push_back("after");
    Entries kept = EntriesOf(list);
    ASSERT_GT(kept.size(), 1u);
    EXPECT_EQ(kept.back(), "after");
    kept.pop_back();
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), expected.begin()));
}

// AddressSanitizer ends the process on a request too large to be had
// instead of failing it (GCC says so by a macro, clang by a feature).
#if defined(__SANITIZE_ADDRESS__)
#define UNDER_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_SANITIZER_ALLOCATOR 1
#endif
#endif

TEST(ReadIdiomList, SizeHintThatCannotBeHadFallsBackToBlocks) {
#ifdef UNDER_SANITIZER_ALLOCATOR
    GTEST_SKIP() << "the sanitizer aborts on a request this large";
#endif
    const std::string file = "a\r\nb\r\n";
    PieceSource source(file, file.size());
    IdiomList list;
    ReadIdiomList(source, list, std::numeric_limits<std::size_t>::max() / 2);
    EXPECT_EQ(EntriesOf(list), (Entries{"a", "b"}));
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
