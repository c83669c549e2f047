// Fuzzes reading the idiom file into an IdiomList, from a stream, from a
// source that delivers in small pieces and from a real file, against a plain
// line splitter written out here. The input is the file's content as it is.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "idiom_list.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_load: property violated: %s\n", what);
        __builtin_trap();
    }
}

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// What the list must hold: one entry per LF-ended line plus a last line
// without LF if there is one, each cut at its first NUL and trimmed right.
std::vector<std::string> ReferenceLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t lf = content.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? content.size() : lf;
        std::string line(content.substr(start, end - start));
        const std::size_t nul = line.find('\0');
        if (nul != std::string::npos) {
            line.resize(nul);
        }
        while (!line.empty() && IsTrailingSpace(line.back())) {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        if (lf == std::string_view::npos) {
            break;
        }
        start = lf + 1;
    }
    return lines;
}

std::vector<std::string> Entries(const IdiomList& list) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.size(); ++i) {
        entries.emplace_back(list[i]);
    }
    return entries;
}

// `list` must hold `before` followed by `added`.
void CheckHolds(const IdiomList& list, const std::vector<std::string>& before,
                const std::vector<std::string>& added, const char* what) {
    std::vector<std::string> expected = before;
    expected.insert(expected.end(), added.begin(), added.end());
    Check(list.size() == expected.size(), what);
    Check(list.empty() == expected.empty(), what);
    Check(Entries(list) == expected, what);
}

// Hands the content out in short pieces of varying size, as a pipe or a slow
// device may, and can stop early as a read error does. Every piece boundary
// is a chance for a line to be split between two reads.
class ChunkedSource : public ByteSource {
public:
    ChunkedSource(std::string_view content, std::size_t pattern, std::size_t stopAt)
        : m_content(content.substr(0, std::min(stopAt, content.size()))), m_pattern(pattern) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        static constexpr std::size_t kPieces[] = {1, 2, 3, 5, 8, 13, 64, 4096};
        const std::size_t piece = kPieces[m_pattern++ % std::size(kPieces)];
        const std::size_t n = std::min({piece, size, m_content.size() - m_offset});
        std::memcpy(buffer, m_content.data() + m_offset, n);
        m_offset += n;
        return n;
    }

private:
    std::string_view m_content;
    std::size_t m_pattern;
    std::size_t m_offset = 0;
};

// Lists with entries already in them. The entry lengths vary the room left in
// the list's buffer, so that reading a stream fills it after a few bytes and
// a line gets split across two block reads. Each stream read sets up a block
// of a megabyte, which is slow under the sanitizers, so streams get fewer.
std::vector<std::vector<std::string>> StreamPrefills(std::size_t inputSize) {
    return {
        {},
        {std::string(7, 'a'), "b"},
        {std::string(inputSize % 61 + 2, '\xB0'), "c", ""},
    };
}

std::vector<std::vector<std::string>> FilePrefills(std::size_t inputSize) {
    return {
        {},
        {"x"},
        {std::string(7, 'a'), "b"},
        {std::string(inputSize % 61 + 2, '\xB0'), "c", ""},
        {"\xB3\xC9\xD3\xEF", std::string(inputSize % 13 + 1, 'd')},
    };
}

IdiomList MakeList(const std::vector<std::string>& entries) {
    IdiomList list;
    for (const std::string& entry : entries) {
        list.push_back(entry);
    }
    return list;
}

// Appending after a load must leave the loaded entries alone, also when the
// buffer has to move.
void CheckAppendAfterLoad(IdiomList& list, const std::vector<std::string>& loaded,
                          std::string_view content) {
    std::vector<std::string> added = {"", "\xD2\xBB\xBC\xFD\xCB\xAB\xB5\xF1"};
    added.emplace_back(content.size() + 4096, 'z');  // forces the buffer to grow
    for (const std::string& entry : added) {
        list.push_back(entry);
    }
    CheckHolds(list, loaded, added, "push_back after a load keeps the loaded entries");
}

void CheckCopies(const IdiomList& list) {
    const std::vector<std::string> entries = Entries(list);
    const IdiomList copy(list);
    Check(Entries(copy) == entries, "copy construction");
    IdiomList assigned = MakeList({"old"});
    assigned = list;
    Check(Entries(assigned) == entries, "copy assignment");
}

class TempFile {
public:
    TempFile()
        : m_path(std::filesystem::temp_directory_path() /
                 ("quendril-fuzz-load-" + std::to_string(::getpid()) + ".txt")) {}
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    const std::filesystem::path& Write(std::string_view content) {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        Check(!out.fail(), "the fuzz input could be written to a temporary file");
        return m_path;
    }

private:
    std::filesystem::path m_path;
};

void CheckMissingFile() {
    IdiomList list = MakeList({"keep", ""});
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "quendril-fuzz-load-no-such-dir" / "x.txt";
    Check(!LoadIdiomList(list, missing), "a missing file is reported");
    Check(!LoadIdiomList(list, missing.c_str()), "a missing file name is reported");
    CheckHolds(list, {"keep", ""}, {}, "a missing file leaves the list alone");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TempFile file;
    static const bool missingChecked = (CheckMissingFile(), true);
    (void)missingChecked;

    const std::string content(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = ReferenceLines(content);

    for (const std::vector<std::string>& before : StreamPrefills(size)) {
        // From a stream, which gives no size up front.
        IdiomList streamed = MakeList(before);
        std::istringstream in(content);
        ReadIdiomList(in, streamed);
        CheckHolds(streamed, before, expected, "ReadIdiomList appends the reference lines");
        if (before.empty()) {
            CheckCopies(streamed);
            CheckAppendAfterLoad(streamed, expected, content);
        }
    }

    // From a source that delivers in small pieces, with a size hint that is
    // right, too small, too large or missing.
    for (std::size_t hint : {size, size / 2 + 1, 2 * size + 7, std::size_t{0}}) {
        IdiomList list;
        ChunkedSource source(content, size + hint, size);
        ReadIdiomList(source, list, hint);
        CheckHolds(list, {}, expected, "ReadIdiomList from pieces gives the reference lines");
    }
    {
        const std::vector<std::string> before = StreamPrefills(size).back();
        IdiomList list = MakeList(before);
        ChunkedSource source(content, size, size);
        ReadIdiomList(source, list, size);
        CheckHolds(list, before, expected, "ReadIdiomList from pieces appends");
    }
    if (size > 0) {
        // A read error part way keeps the lines read before it, the last one
        // as a line without LF.
        const std::size_t stopAt = static_cast<unsigned char>(content[0]) % size;
        IdiomList list;
        ChunkedSource source(content, size, stopAt);
        ReadIdiomList(source, list, size);
        CheckHolds(list, {}, ReferenceLines(content.substr(0, stopAt)),
                   "a read error keeps what was read");
    }

    const std::filesystem::path& path = file.Write(content);
    for (const std::vector<std::string>& before : FilePrefills(size)) {
        // From the file, whose size sizes the buffer in advance; by path and
        // by plain file name.
        IdiomList loaded = MakeList(before);
        Check(LoadIdiomList(loaded, path), "an existing file loads");
        CheckHolds(loaded, before, expected, "LoadIdiomList appends the reference lines");
        std::vector<std::string> all = before;
        all.insert(all.end(), expected.begin(), expected.end());
        CheckAppendAfterLoad(loaded, all, content);

        IdiomList byName = MakeList(before);
        Check(LoadIdiomList(byName, path.c_str()), "an existing file loads by name");
        CheckHolds(byName, before, expected, "LoadIdiomList by name appends the reference lines");
    }
    return 0;
}
