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

// Reads a stream in large blocks straight into the list's buffer and marks
// each line's entry where it lies: one pass over the bytes, nothing copied,
// no allocation per line. Bytes trimmed off an entry simply stay unused.
class IdiomListReader {
public:
    explicit IdiomListReader(IdiomList& list)
        : m_list(list), m_lineStart(list.m_used), m_end(list.m_used) {}

    void Read(ByteSource& in, std::size_t sizeHint) {
        try {
            if (sizeHint > 0) {
                // One read for the whole file when its size is known; a
                // request that cannot be met just falls back to blocks.
                try {
                    Grow(sizeHint + 1);
                } catch (const std::bad_alloc&) {
                }
            }
            for (;;) {
                if (m_list.m_bytes.capacity() == m_end) {
                    Grow(std::max(kBlock, m_end / 2));
                }
                const std::size_t room = m_list.m_bytes.capacity() - m_end;
                const std::size_t got = in.Read(m_list.m_bytes.data() + m_end, room);
                if (got == 0) {
                    break;
                }
                if (m_list.m_entries.capacity() == m_list.m_entries.size()) {
                    ReserveEntries(m_end, m_end + got);
                }
                CutLines(m_end, m_end + got);
                m_end += got;
            }
            if (m_lineStart < m_end) {
                EndEntry(m_end);  // a last line without LF
            }
        } catch (const std::bad_alloc&) {
            // Out of memory: keep the entries finished so far, drop the rest.
        }
        m_list.m_used = m_lineStart;
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    void Grow(std::size_t extra) { m_list.m_bytes.Reserve(m_end + extra, m_end); }

    // Guesses from a sample how many lines the bytes just read hold, so that
    // the list of entries grows once rather than a dozen times.
    void ReserveEntries(std::size_t from, std::size_t to) {
        const std::size_t sample = std::min<std::size_t>(to - from, 64 * 1024);
        const char* bytes = m_list.m_bytes.data() + from;
        std::size_t lines = 1;
        for (std::size_t i = 0; i < sample; ++i) {
            lines += bytes[i] == '\n';
        }
        const std::size_t guess = (to - from) / sample * lines + lines;
        try {
            m_list.m_entries.reserve(m_list.m_entries.size() + guess + guess / 8);
        } catch (const std::bad_alloc&) {
            // A guess that cannot be had is no loss: the list grows as it goes.
        }
    }

    // Ends every line whose LF lies in the bytes just read, [from, to).
    void CutLines(std::size_t from, std::size_t to) {
        const char* bytes = m_list.m_bytes.data();
        while (from < to) {
            const void* lf = std::memchr(bytes + from, '\n', to - from);
            if (lf == nullptr) {
                return;
            }
            const std::size_t lineEnd = static_cast<const char*>(lf) - bytes + 1;
            EndEntry(lineEnd);
            from = lineEnd;
        }
    }

    // Makes the bytes [m_lineStart, lineEnd) the next entry: cut at the first
    // NUL, trimmed at the right end.
    void EndEntry(std::size_t lineEnd) {
        std::string_view line(m_list.m_bytes.data() + m_lineStart, lineEnd - m_lineStart);
        if (const void* nul = std::memchr(line.data(), '\0', line.size())) {
            line = line.substr(0, static_cast<const char*>(nul) - line.data());
        }
        m_list.m_entries.push_back({m_lineStart, m_lineStart + gbk::TrimmedLength(line)});
        m_lineStart = lineEnd;
    }

    IdiomList& m_list;
    std::size_t m_lineStart;  // where the line being read begins
    std::size_t m_end;        // end of the bytes read
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
