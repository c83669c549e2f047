#pragma once
// The idiom list: every line of the idiom file, in file order.

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "byte_buffer.h"

// The idiom file's name as GBK bytes: "成语.txt".
inline constexpr char kIdiomFileName[] = "\xB3\xC9\xD3\xEF.txt";

// An ordered list of GBK entries. The entries lie in one buffer, as they were
// read from the file, so that a dictionary of a million lines costs little
// more than its own size and loading it copies nothing.
class IdiomList {
public:
    IdiomList() = default;
    IdiomList(const IdiomList& other);
    IdiomList& operator=(const IdiomList& other);
    IdiomList(IdiomList&&) noexcept = default;
    IdiomList& operator=(IdiomList&&) noexcept = default;

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    std::string_view operator[](std::size_t index) const;

    // Appends one entry at the end.
    void push_back(std::string_view entry);
    void clear();

private:
    friend class IdiomListReader;

    struct Span {
        std::size_t begin, end;  // byte offsets in m_bytes
    };

    ByteBuffer m_bytes;
    std::size_t m_used = 0;  // bytes of m_bytes in use
    std::vector<Span> m_entries;
};

// Where the loader's bytes come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to `size` bytes; returns how many, 0 at the end or on an error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Reads every line of `in` into `list`: LF ends a line, trailing white space is
// trimmed, a NUL ends its entry, blank lines stay as empty entries. A read
// error or exhausted memory ends loading silently and keeps what was read.
// `sizeHint`, when known, sizes the buffer for all the bytes at once.
void ReadIdiomList(ByteSource& in, IdiomList& list, std::size_t sizeHint = 0);

// The same from a stream (in idiom_list_stream.cpp, so that a program that
// only loads files does not carry the stream library).
void ReadIdiomList(std::istream& in, IdiomList& list);

#ifdef _WIN32
using FileNameChar = wchar_t;  // Windows file names are UTF-16
#else
using FileNameChar = char;
#endif

// Opens the file in binary and appends its entries to `list`. Returns whether
// the file could be opened; the list is left as it was when it could not.
bool LoadIdiomList(IdiomList& list, const FileNameChar* fileName);

// The same for a path (in idiom_list_path.cpp: the path library is large, and
// the program itself has no need of it).
bool LoadIdiomList(IdiomList& list, const std::filesystem::path& file);
