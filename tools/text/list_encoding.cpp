#include "text/list_encoding.h"

#include <algorithm>
#include <cstdio>

#include "text/encoding_sniff.h"
#include "text/text_codec.h"
#include "text/text_position.h"
#include "text/utf8_validity.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return lower;
}

// "line 3, column 5: not valid GBK (bytes B3 20)": the place counted in the
// text read before it, the bytes from it as they stand.
std::string Fault(const std::string& before, std::string_view bytes, std::size_t offset,
                  std::string_view encoding, std::size_t showBytes) {
    std::string shown;
    for (std::size_t i = offset; i < bytes.size() && i < offset + showBytes; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", shown.empty() ? "" : " ",
                      static_cast<unsigned>(static_cast<unsigned char>(bytes[i])));
        shown += hex;
    }
    return DescribePosition(PositionOf(before, before.size())) + ": not valid " +
           std::string(encoding) +
           (shown.empty() ? " (cut off at the end)" : " (bytes " + shown + ")");
}

// UTF-8 is taken as it stands: the list readers check it as they go and
// name the place of a bad byte in the terms of their own format.
ListText TakeUtf8(std::string_view bytes) {
    ListText list;
    list.encoding = bytes.starts_with(kUtf8Bom) ? "UTF-8 with a byte order mark" : "UTF-8";
    list.text.assign(bytes.starts_with(kUtf8Bom) ? bytes.substr(3) : bytes);
    return list;
}

// The first bytes, enough to tell an encoding by, ended before a character
// that they would cut: deciding on them keeps a ten-megabyte list from being
// read through once more only to be told it is UTF-8.
std::string_view Opening(std::string_view bytes) {
    constexpr std::size_t kOpening = 64 * 1024;
    std::size_t end = std::min(bytes.size(), kOpening);
    while (end < bytes.size() && end > 0 &&
           (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
        --end;
    }
    return bytes.substr(0, end);
}

// `badOffset`, when given, gets where reading stopped (the size when it did not).
ListText ReadGb18030(std::string_view bytes, std::size_t* badOffset = nullptr) {
    ListText list;
    list.encoding = "GBK";
    const CodecResult read = Gb18030ToUtf8(bytes, list.text);
    if (badOffset != nullptr) {
        *badOffset = read.ok() ? bytes.size() : read.offset;
    }
    if (!read.ok()) {
        std::string before;
        Gb18030ToUtf8(bytes.substr(0, read.offset), before);  // valid up to there
        list.error = Fault(before, bytes, read.offset, "GBK", 2);
        list.text.clear();
    }
    return list;
}

ListText ReadUtf16(std::string_view bytes, FileEncoding sniffed) {
    // Without a mark or a telling NUL pattern, the byte order Windows writes.
    if (!IsUtf16(sniffed)) {
        sniffed = FileEncoding::kUtf16Le;
    }
    const bool bigEndian =
        sniffed == FileEncoding::kUtf16BeBom || sniffed == FileEncoding::kUtf16Be;
    ListText list;
    list.encoding = bigEndian ? "UTF-16 big-endian" : "UTF-16 little-endian";
    const std::string_view body = bytes.substr(ByteOrderMarkLength(sniffed));
    if (const CodecResult read = Utf16ToUtf8(body, bigEndian, list.text); !read.ok()) {
        std::string before;
        Utf16ToUtf8(body.substr(0, read.offset), bigEndian, before);
        list.error = Fault(before, body, read.offset, "UTF-16", 2);
        list.text.clear();
    }
    return list;
}

}  // namespace

bool ParseListEncoding(std::string_view name, ListEncoding& encoding) {
    const std::string lower = Lower(name);
    if (lower == "utf-8" || lower == "utf8") {
        encoding = ListEncoding::kUtf8;
    } else if (lower == "utf-16" || lower == "utf16") {
        encoding = ListEncoding::kUtf16;
    } else if (lower == "gbk" || lower == "gb18030" || lower == "gb2312" || lower == "cp936") {
        encoding = ListEncoding::kGb18030;
    } else {
        return false;
    }
    return true;
}

ListText DecodeListText(std::string_view bytes, ListEncoding encoding) {
    const FileEncoding sniffed = SniffEncoding(Opening(bytes));
    switch (encoding) {
        case ListEncoding::kUtf8:
            return TakeUtf8(bytes);
        case ListEncoding::kUtf16:
            return ReadUtf16(bytes, sniffed);
        case ListEncoding::kGb18030:
            return ReadGb18030(bytes);
        case ListEncoding::kDetect:
            break;
    }
    if (IsUtf16(sniffed)) {
        return ReadUtf16(bytes, sniffed);
    }
    if (bytes.starts_with(kUtf8Bom) || FindInvalidUtf8(Opening(bytes)) == std::string_view::npos) {
        return TakeUtf8(bytes);
    }
    const std::size_t utf8Stops = FindInvalidUtf8(bytes);
    std::size_t gbkStops = 0;
    ListText gbk = ReadGb18030(bytes, &gbkStops);
    if (gbk.error.empty()) {
        return gbk;
    }
    const char* hint = "; if the list is in another encoding, name it with --encoding";
    if (gbkStops > utf8Stops) {
        gbk.error += hint;
        return gbk;
    }
    ListText list;
    list.error = Fault(std::string(bytes.substr(0, utf8Stops)), bytes, utf8Stops, "UTF-8", 4) +
                 ", nor GBK" + hint;
    return list;
}
