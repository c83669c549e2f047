#pragma once
// The idiom list: every line of the idiom file, in file order.

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The idiom file's name as GBK bytes: "成语.txt".
inline constexpr char kIdiomFileName[] = "\xB3\xC9\xD3\xEF.txt";

// An ordered list of GBK entries, stored back to back in one buffer so that a
// dictionary of a million lines costs little more than its own size.
class IdiomList {
public:
    IdiomList() = default;
    IdiomList(const IdiomList& other);
    IdiomList& operator=(const IdiomList& other);
    IdiomList(IdiomList&&) noexcept = default;
    IdiomList& operator=(IdiomList&&) noexcept = default;

    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t index) const;

    // Appends one entry at the end.
    void push_back(std::string_view entry);
    void clear();

private:
    friend class IdiomListReader;

    // Makes room for `extra` more bytes; the new bytes are not initialised.
    void Grow(std::size_t extra);

    std::unique_ptr<char[]> m_bytes;  // all entries, back to back
    std::size_t m_size = 0;           // bytes in use
    std::size_t m_capacity = 0;
    std::vector<std::size_t> m_ends;  // end offset of each entry in m_bytes
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
// `sizeHint`, when known, lets the bytes be read in one go.
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
