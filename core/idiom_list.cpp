#include "idiom_list.h"

#include <algorithm>
#include <cstring>
#include <climits>
#include <cstdio>
#include <limits>
#include <new>

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
