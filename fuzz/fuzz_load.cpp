// Fuzzes reading the idiom file into an IdiomList, from a stream, from
// sources that deliver in small pieces or fail part way, and from a real
// file, against the reference reading of the file (tests/support/reference).
// The input is the file's content as it is.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "block_pool.h"
#include "idiom_list.h"
#include "reference/dictionary_lines.h"

namespace {

using Entries = std::vector<std::string_view>;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_load: property violated: %s\n", what);
        __builtin_trap();
    }
}

// `list` must hold `before`, then `loaded`, then `added`.
template <typename Added = Entries>
void CheckHolds(const IdiomList& list, const std::vector<std::string>& before,
                const Entries& loaded, const char* what, const Added& added = {}) {
    Check(list.size() == before.size() + loaded.size() + added.size(), what);
    Check(list.empty() == (before.empty() && loaded.empty() && added.empty()), what);
    std::size_t i = 0;
    for (const std::string& entry : before) {
        Check(list[i++] == entry, what);
    }
    for (std::string_view entry : loaded) {
        Check(list[i++] == entry, what);
    }
    for (const auto& entry : added) {
        Check(list[i++] == entry, what);
    }
}

// Hands the content out in short pieces of varying size, as a pipe or a slow
// device may, or whole as a file does, and can stop early as a read error
// does. Every piece boundary is a chance for a line to be split between two
// reads.
class ChunkedSource : public ByteSource {
public:
    static constexpr std::size_t kWhole = static_cast<std::size_t>(-1);  // one read for all

    ChunkedSource(std::string_view content, std::size_t pattern, std::size_t stopAt)
        : m_content(content.substr(0, std::min(stopAt, content.size()))), m_pattern(pattern) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        static constexpr std::size_t kPieces[] = {1, 2, 3, 5, 8, 13, 64, 4096};
        const std::size_t piece =
            m_pattern == kWhole ? size : kPieces[m_pattern++ % std::size(kPieces)];
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

// A stream over the input where it lies: no copy of it for every read.
class InputStreamBuffer : public std::streambuf {
public:
    explicit InputStreamBuffer(std::string_view content) {
        char* begin = const_cast<char*>(content.data());  // only ever read
        setg(begin, begin, begin + content.size());
    }
};

// Lists with entries already in them. The entry lengths vary the room left in
// the list's buffer, so that reading a stream fills it after a few bytes and
// a line gets split across two block reads. The first three go before every
// kind of read, the last two before reads of the whole file.
std::vector<std::vector<std::string>> Prefills(std::size_t inputSize) {
    return {
        {},
        {std::string(7, 'a'), "b"},
        {std::string(inputSize % 61 + 2, '\xB0'), "c", ""},
        {"x"},
        {"\xB3\xC9\xD3\xEF", std::string(inputSize % 13 + 1, 'd')},
    };
}
constexpr std::size_t kStreamPrefills = 3;

IdiomList MakeList(const std::vector<std::string>& entries) {
    IdiomList list;
    for (const std::string& entry : entries) {
        list.push_back(entry);
    }
    return list;
}

// Appending after a load must leave the loaded entries alone, also when the
// buffer has to move.
void CheckAppendAfterLoad(IdiomList& list, const std::vector<std::string>& before,
                          const Entries& loaded, const std::vector<std::string>& added) {
    for (const std::string& entry : added) {
        list.push_back(entry);
    }
    CheckHolds(list, before, loaded, "push_back after a load keeps the loaded entries", added);
}

void CheckCopies(const IdiomList& list, const Entries& entries) {
    const IdiomList copy(list);
    CheckHolds(copy, {}, entries, "copy construction");
    IdiomList assigned = MakeList({"old"});
    assigned = list;
    CheckHolds(assigned, {}, entries, "copy assignment");
}

// The input as a file, while the input is checked. It lies in memory where
// the system has such a folder: writing one on disk for every input cost more
// than the rest of the run. It goes with each input, as libFuzzer ends the
// process without running the destructors of statics.
class TempFile {
public:
    explicit TempFile(std::string_view content) {
        std::ofstream out;
        out.rdbuf()->pubsetbuf(nullptr, 0);  // the content goes out in one write, unbuffered
        out.open(Path(), std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        Check(!out.fail(), "the fuzz input could be written to a temporary file");
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(Path(), ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    static const std::filesystem::path& Path() {
        static const std::filesystem::path path =
            Folder() / ("quendril-fuzz-load-" + std::to_string(::getpid()) + ".txt");
        return path;
    }

private:
    static std::filesystem::path Folder() {
        std::error_code ignored;
        const std::filesystem::path shm = "/dev/shm";
        return std::filesystem::is_directory(shm, ignored) ? shm
                                                           : std::filesystem::temp_directory_path();
    }
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
    static const bool missingChecked = (CheckMissingFile(), true);
    (void)missingChecked;
    block_pool::StartOfInput();

    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const Entries expected = reference::DictionaryEntries(content);
    const std::vector<std::vector<std::string>> prefills = Prefills(size);
    std::vector<std::string> appended = {"", "\xD2\xBB\xBC\xFD\xCB\xAB\xB5\xF1"};
    appended.emplace_back(size + 4096, 'z');  // forces the buffer to grow

    for (std::size_t k = 0; k < kStreamPrefills; ++k) {
        // From a stream, which gives no size up front.
        IdiomList streamed = MakeList(prefills[k]);
        InputStreamBuffer buffer(content);
        std::istream in(&buffer);
        ReadIdiomList(in, streamed);
        CheckHolds(streamed, prefills[k], expected, "ReadIdiomList appends the reference lines");
        if (k == 0) {
            CheckCopies(streamed, expected);
            CheckAppendAfterLoad(streamed, {}, expected, appended);
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
        IdiomList list = MakeList(prefills[kStreamPrefills - 1]);
        ChunkedSource source(content, size, size);
        ReadIdiomList(source, list, size);
        CheckHolds(list, prefills[kStreamPrefills - 1], expected,
                   "ReadIdiomList from pieces appends");
    }
    if (size > 0) {
        // A read error part way keeps the lines read before it, the last one
        // as a line without LF.
        const std::size_t stopAt = static_cast<unsigned char>(content[0]) % size;
        IdiomList list;
        ChunkedSource source(content, size, stopAt);
        ReadIdiomList(source, list, size);
        CheckHolds(list, {}, reference::DictionaryEntries(content.substr(0, stopAt)),
                   "a read error keeps what was read");
    }

    // Read whole with its size known in advance, as a file is, after each
    // kind of list: after two of them, which the input picks, from the real
    // file by path and by plain file name, after the others from memory.
    const TempFile file(content);
    const std::filesystem::path& path = TempFile::Path();
    const std::size_t byPath = size % prefills.size();
    const std::size_t byName = (byPath + 1 + size / 5 % (prefills.size() - 1)) % prefills.size();
    for (std::size_t k = 0; k < prefills.size(); ++k) {
        IdiomList loaded = MakeList(prefills[k]);
        const char* what = "ReadIdiomList read whole appends the reference lines";
        if (k == byPath) {
            Check(LoadIdiomList(loaded, path), "an existing file loads");
            what = "LoadIdiomList appends the reference lines";
        } else if (k == byName) {
            Check(LoadIdiomList(loaded, path.c_str()), "an existing file loads by name");
            what = "LoadIdiomList by name appends the reference lines";
        } else {
            ChunkedSource source(content, ChunkedSource::kWhole, size);
            ReadIdiomList(source, loaded, size);
        }
        CheckHolds(loaded, prefills[k], expected, what);
        CheckAppendAfterLoad(loaded, prefills[k], expected, appended);
    }
    return 0;
}
