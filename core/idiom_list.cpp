#include "idiom_list.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <new>

#include "gbk_text.h"

IdiomList::IdiomList(const IdiomList& other) : m_ends(other.m_ends) {
    Grow(other.m_size);
    if (other.m_size > 0) {
        std::memcpy(m_bytes.get(), other.m_bytes.get(), other.m_size);
    }
    m_size = other.m_size;
}

IdiomList& IdiomList::operator=(const IdiomList& other) {
    if (this != &other) {
        IdiomList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::string_view IdiomList::operator[](std::size_t index) const {
    const std::size_t begin = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_bytes.get() + begin, m_ends[index] - begin);
}

void IdiomList::push_back(std::string_view entry) {
    Grow(entry.size());
    if (!entry.empty()) {
        std::memcpy(m_bytes.get() + m_size, entry.data(), entry.size());
    }
    m_size += entry.size();
    m_ends.push_back(m_size);
}

void IdiomList::clear() {
    m_bytes.reset();
    m_size = m_capacity = 0;
    m_ends.clear();
}

void IdiomList::Grow(std::size_t extra) {
    if (m_capacity - m_size >= extra) {
        return;
    }
    const std::size_t wanted = std::max(m_size + extra, m_capacity + m_capacity / 2);
    // new char[] leaves the bytes uninitialised: the file is read straight in.
    std::unique_ptr<char[]> bigger(new char[wanted]);
    if (m_size > 0) {
        std::memcpy(bigger.get(), m_bytes.get(), m_size);
    }
    m_bytes = std::move(bigger);
    m_capacity = wanted;
}

// Reads a stream in large blocks straight into the list's buffer and cuts it
// into entries in place: one pass over the bytes, no allocation per line.
//
// The buffer holds the finished entries, packed, up to m_packed; then the raw
// bytes of the line being read, from m_lineStart to m_end.
class IdiomListReader {
public:
    explicit IdiomListReader(IdiomList& list)
        : m_list(list), m_packed(list.m_size), m_lineStart(m_packed), m_scanFrom(m_packed),
          m_end(m_packed) {}

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
                if (m_list.m_capacity == m_end) {
                    Grow(kBlock);
                }
                const std::size_t room = m_list.m_capacity - m_end;
                const std::size_t got = in.Read(m_list.m_bytes.get() + m_end, room);
                if (got == 0) {
                    break;
                }
                m_end += got;
                CutLines();
            }
            if (m_lineStart < m_end) {
                EndEntry(m_end);  // a last line without LF
            }
        } catch (const std::bad_alloc&) {
            // Out of memory: keep the entries finished so far, drop the rest.
        }
        m_list.m_size = m_packed;
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    void Grow(std::size_t extra) {
        m_list.m_size = m_end;  // Grow keeps the bytes in use
        m_list.Grow(extra);
    }

    // Ends every line whose LF has been read, then moves the unfinished line
    // down behind the packed entries.
    void CutLines() {
        char* bytes = m_list.m_bytes.get();
        while (m_scanFrom < m_end) {
            const void* lf = std::memchr(bytes + m_scanFrom, '\n', m_end - m_scanFrom);
            if (lf == nullptr) {
                break;
            }
            const std::size_t lineEnd = static_cast<const char*>(lf) - bytes + 1;
            EndEntry(lineEnd);
            m_lineStart = lineEnd;
            m_scanFrom = lineEnd;
        }
        const std::size_t pending = m_end - m_lineStart;
        if (m_lineStart != m_packed) {
            std::memmove(bytes + m_packed, bytes + m_lineStart, pending);
            m_lineStart = m_packed;
        }
        m_end = m_scanFrom = m_lineStart + pending;
    }

    // Makes the raw bytes [m_lineStart, lineEnd) the next entry: cut at the
    // first NUL, trim the right end, pack it behind the entries before it.
    void EndEntry(std::size_t lineEnd) {
        char* bytes = m_list.m_bytes.get();
        std::string_view line(bytes + m_lineStart, lineEnd - m_lineStart);
        if (const void* nul = std::memchr(line.data(), '\0', line.size())) {
            line = line.substr(0, static_cast<const char*>(nul) - line.data());
        }
        const std::size_t kept = gbk::TrimmedLength(line);
        m_list.m_ends.push_back(m_packed + kept);  // may throw: nothing moved yet
        if (m_lineStart != m_packed) {
            std::memmove(bytes + m_packed, line.data(), kept);
        }
        m_packed += kept;
    }

    IdiomList& m_list;
    std::size_t m_packed;     // end of the finished entries
    std::size_t m_lineStart;  // start of the raw bytes of the current line
    std::size_t m_scanFrom;   // raw bytes before this hold no LF
    std::size_t m_end;        // end of the raw bytes read
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
        return size > 0 ? static_cast<std::size_t>(size) : 0;
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
