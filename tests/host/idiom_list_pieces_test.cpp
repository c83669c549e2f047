// The loader cuts lines as the bytes arrive, a piece at a time: the entries
// must not depend on where one read ends and the next begins.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "idiom_list.h"

namespace {

// Hands out its content `piece` bytes at a time.
class PieceSource : public ByteSource {
public:
    PieceSource(std::string_view content, std::size_t piece) : m_content(content), m_piece(piece) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({m_piece, size, m_content.size() - m_offset});
        std::memcpy(buffer, m_content.data() + m_offset, n);
        m_offset += n;
        return n;
    }

private:
    std::string_view m_content;
    std::size_t m_piece;
    std::size_t m_offset = 0;
};

TEST(ReadIdiomListInPieces, ReadBoundariesChangeNoEntry) {
    using namespace std::string_literals;
    // A NUL well before its line's LF, NULs on their own, trimming, a blank
    // line and a last line without LF that a NUL cuts.
    const std::string content = "ab\0cd\r\n\0\0\n x \t\n\nlong line\r\ntail\0end"s;
    const std::vector<std::string> expected = {"ab", "", " x", "", "long line", "tail"};
    for (std::size_t piece = 1; piece <= content.size(); ++piece) {
        for (std::size_t hint : {std::size_t{0}, content.size(), content.size() / 3}) {
            PieceSource source(content, piece);
            IdiomList list;
            ReadIdiomList(source, list, hint);
            std::vector<std::string> entries;
            for (std::size_t i = 0; i < list.size(); ++i) entries.emplace_back(list[i]);
            EXPECT_EQ(entries, expected) << "pieces of " << piece << ", size hint " << hint;
        }
    }
}

}  // namespace
