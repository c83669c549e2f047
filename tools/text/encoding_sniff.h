#pragma once
// Telling a GBK dictionary from one saved by an editor as UTF-8 or UTF-16.

#include <cstddef>
#include <string_view>

enum class FileEncoding {
    kGbk,  // or plain ASCII, which reads the same
    kUtf8,
    kUtf8Bom,
    kUtf16LeBom,
    kUtf16BeBom,
    kUtf16Le,  // no byte order mark, known by its NUL bytes
    kUtf16Be,
};

// Byte order marks decide at once; otherwise NUL bytes in every other place
// mean UTF-16, and text that is valid UTF-8 with non-ASCII characters means
// UTF-8 unless it reads as common GBK characters just as well.
FileEncoding SniffEncoding(std::string_view bytes);

// A person's name for the encoding, e.g. "UTF-8 with a byte order mark".
std::string_view DescribeEncoding(FileEncoding encoding);

bool IsUtf16(FileEncoding encoding);

// Bytes of the byte order mark that opens a file of this encoding (0 if none).
std::size_t ByteOrderMarkLength(FileEncoding encoding);
