#include "idiom_list.h"

#include <algorithm>
#include <cstring>
#include <climits>
#include <cstdio>
#include <limits>
#include <new>

#include "gbk_text.h"

IdiomList::IdiomList(const IdiomList& other) : m_used(other.m_used), m_entries(other.m_entries) {
    m_bytes.Reserve(other.m_used, 0);
    if (other.m_used > 0) {
        std::memcpy(m_bytes.data(), other.m_bytes.data(), other.m_used);
    }
}

IdiomList& IdiomList::operator=(const IdiomList& other) {
    if (this != &other) {
        IdiomList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::string_view IdiomList::operator[](std::size_t index) const {
    const Span& span = m_entries[index];
    return std::string_view(m_bytes.data() + span.begin, span.end - span.begin);
}

void IdiomList::push_back(std::string_view entry) {
    if (m_bytes.capacity() - m_used < entry.size()) {
        m_bytes.Reserve(std::max(m_used + entry.size(), m_bytes.capacity() * 3 / 2), m_used);
    }
    if (!entry.empty()) {
        std::memcpy(m_bytes.data() + m_used, entry.data(), entry.size());
    }
    m_entries.push_back({m_used, m_used + entry.size()});
    m_used += entry.size();
}

void IdiomList::clear() {
    m_bytes = ByteBuffer();
    m_used = 0;
    m_entries.clear();
}

// Reads the bytes straight into the list's buffer and marks each line's entry
// where it lies: nothing copied, no allocation per line, and bytes trimmed off
// an entry simply stay unused. The bytes come in pieces small enough to be
// cut into lines while they are still in the processor's cache.
class IdiomListReader {
public:
    explicit IdiomListReader(IdiomList& list)
        : m_list(list), m_loadStart(list.m_used), m_lineStart(list.m_used), m_end(list.m_used) {}

    void Read(ByteSource& in, std::size_t sizeHint) {
        m_hintEnd = m_loadStart + std::min(sizeHint, kNone - m_loadStart);
        try {
            if (sizeHint > 0) {
                // Room for the whole file when its size is known (and one
                // byte more, so that the read that meets the end needs no
                // growth); a request that cannot be met just falls back to
                // growing as the bytes come.
                try {
                    Grow(sizeHint + 1);
                } catch (const std::bad_alloc&) {
                }
            }
            for (;;) {
                if (m_list.m_bytes.capacity() == m_end) {
                    Grow(std::max(kBlock, m_end / 2));
                }
                const std::size_t room = std::min(m_list.m_bytes.capacity() - m_end, kPiece);
                const std::size_t got = in.Read(m_list.m_bytes.data() + m_end, room);
                if (got == 0) {
                    break;
                }
                CutLines(m_end, m_end + got);
                m_end += got;
                ReserveEntries();
            }
            if (m_lineStart < m_end) {
                EndEntry(m_end, std::min(m_cut, m_end));  // a last line without LF
            }
        } catch (const std::bad_alloc&) {
            // Out of memory: keep the entries finished so far, drop the rest.
        }
        m_list.m_used = m_lineStart;
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    static constexpr std::size_t kPiece = std::size_t{256} << 10;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void Grow(std::size_t extra) { m_list.m_bytes.Reserve(m_end + extra, m_end); }

    // Once the list of entries would run out before the bytes the size hint
    // announces are read, the lines read so far tell how many those bytes
    // hold: the list then grows once rather than a dozen times. Without a
    // hint it grows as it goes.
    void ReserveEntries() {
        auto& entries = m_list.m_entries;
        const std::size_t lines = entries.size() - m_loadEntries;
        if (lines == 0 || m_hintEnd <= m_end) {
            return;  // nothing to judge by, or nothing more announced
        }
        const std::size_t bytesPerLine =
            std::max<std::size_t>(1, (m_lineStart - m_loadStart) / lines);
        const std::size_t expected = (m_hintEnd - m_end) / bytesPerLine + 1;
        if (entries.capacity() - entries.size() >= expected) {
            return;
        }
        // Never more than the list can hold, which would throw length_error.
        const std::size_t room = entries.max_size() - entries.size();
        const std::size_t wanted = entries.size() + std::min(room, expected + expected / 8);
        try {
            entries.reserve(
                std::max(wanted, std::min(entries.max_size(), entries.capacity() / 2 * 3)));
        } catch (const std::bad_alloc&) {
            // A guess that cannot be had is no loss: the list grows as it goes.
        }
    }

    // Ends every line whose LF lies in the bytes just read, [from, to).
    void CutLines(std::size_t from, std::size_t to) {
        const char* const bytes = m_list.m_bytes.data();
        // NUL bytes are rare: one scan of the piece finds the first, and the
        // search goes on only past a line that held one.
        std::size_t nul = Find('\0', from, to);
        while (const void* lf = std::memchr(bytes + from, '\n', to - from)) {
            const std::size_t lineEnd = static_cast<const char*>(lf) - bytes + 1;
            if (nul < lineEnd) {
                m_cut = std::min(m_cut, nul);
                nul = Find('\0', lineEnd, to);
            }
            // The LF would be trimmed anyway.
            EndEntry(lineEnd, std::min(m_cut, lineEnd - 1));
            from = lineEnd;
        }
        m_cut = std::min(m_cut, nul);
    }

    // Offset of the first `byte` in [from, to), or kNone.
    std::size_t Find(char byte, std::size_t from, std::size_t to) const {
        const char* bytes = m_list.m_bytes.data();
        const void* found = std::memchr(bytes + from, byte, to - from);
        return found == nullptr ? kNone : static_cast<const char*>(found) - bytes;
    }

    // Ends the line [m_lineStart, lineEnd) with the entry that its bytes up
    // to `end` (its first NUL or its end) make, trimmed at the right.
    void EndEntry(std::size_t lineEnd, std::size_t end) {
        const std::string_view line(m_list.m_bytes.data() + m_lineStart, end - m_lineStart);
        m_list.m_entries.push_back({m_lineStart, m_lineStart + gbk::TrimmedLength(line)});
        m_lineStart = lineEnd;
        m_cut = kNone;
    }

    IdiomList& m_list;
    const std::size_t m_loadStart;                              // where this load's bytes begin
    const std::size_t m_loadEntries = m_list.m_entries.size();  // entries before this load
    std::size_t m_lineStart;                                    // where the line being read begins
    std::size_t m_end;                                          // end of the bytes read
    std::size_t m_cut = kNone;  // the first NUL in the line being read, if any
    std::size_t m_hintEnd = 0;  // where the bytes end if the size hint is right
};

void ReadIdiomList(ByteSource& in, IdiomList& list, std::size_t sizeHint) {
    IdiomListReader(list).Read(in, sizeHint);
}

namespace {

// A file opened for binary reading, closed when it goes out of scope.
class FileSource : public ByteSource {
public:
    explicit FileSource(const FileNameChar* fileName) {
#ifdef _WIN32
        // The wide name reaches the file system unchanged, whatever the
        // system's ANSI code page.
        m_file = _wfopen(fileName, L"rb");
#else
        m_file = std::fopen(fileName, "rb");
#endif
    }
    ~FileSource() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return m_file != nullptr; }

    // The file's size when it can be told, else 0.
    std::size_t Size() {
        if (std::fseek(m_file, 0, SEEK_END) != 0) {
            return 0;
        }
        const long size = std::ftell(m_file);
        std::rewind(m_file);
        // Some things open like files without being one: a directory on Linux
        // reports the largest offset there is. Such a size is no hint.
        constexpr long kImplausible = static_cast<long>(
            std::min<unsigned long long>(LONG_MAX, std::numeric_limits<std::size_t>::max() / 4));
        return size > 0 && size < kImplausible ? static_cast<std::size_t>(size) : 0;
    }

    std::size_t Read(char* buffer, std::size_t size) override {
        return std::fread(buffer, 1, size, m_file);
    }

private:
    std::FILE* m_file = nullptr;
};

}  // namespace

bool LoadIdiomList(IdiomList& list, const FileNameChar* fileName) {
    FileSource in(fileName);
    if (!in.IsOpen()) {
        return false;
    }
    const std::size_t size = in.Size();
    ReadIdiomList(in, list, size);
    return true;
}
