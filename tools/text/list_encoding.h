#pragma once
// The text of an idiom list, whatever encoding it was saved in: UTF-8 (with
// or without a byte order mark), UTF-16 (by its byte order mark, or by the
// NUL bytes of its ASCII characters), or GBK as Excel and Notepad save
// "ANSI" text on a Chinese Windows (read as GB18030, which holds all of GBK).

#include <string>
#include <string_view>

enum class ListEncoding {
    kDetect,  // by byte order mark, NUL bytes, then UTF-8 if the bytes are valid UTF-8
    kUtf8,
    kUtf16,    // byte order by the mark or the NUL bytes; little-endian without either
    kGb18030,  // GBK or GB18030
};

// The names --encoding takes, in any case: utf-8 (utf8), utf-16 (utf16),
// gbk, gb18030 (also gb2312, cp936). False for any other.
bool ParseListEncoding(std::string_view name, ListEncoding& encoding);

struct ListText {
    std::string text;      // UTF-8, without a byte order mark
    std::string encoding;  // what it was read as, for a person: "UTF-8", "GBK", ...
    std::string error;     // "" when read; else "line L, column C: ..."
};

// Bytes whose opening (64 KiB) is valid UTF-8 are UTF-8; the rest of UTF-8
// text is left for the list readers to check, which name the place in
// their own terms. Other bytes are read as GBK when GBK reads further into
// them than UTF-8 does, since a GBK list stops being UTF-8 at its first
// Chinese character, while damaged UTF-8 read as GBK soon pairs a byte with
// a comma or a line end. The error then names the place where the reading
// that went further stopped.
ListText DecodeListText(std::string_view bytes, ListEncoding encoding);
