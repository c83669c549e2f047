#include "text/list_encoding.h"

#include <cstdio>

#include "text/encoding_sniff.h"
#include "text/text_codec.h"
#include "text/text_position.h"

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
           std::string(encoding) + (shown.empty() ? " (cut off at the end)" : " (bytes " + shown + ")");
}

ListText ReadUtf8(std::string_view bytes) {
    ListText list;
    list.encoding = bytes.starts_with(kUtf8Bom) ? "UTF-8 with a byte order mark" : "UTF-8";
    const std::string_view body = bytes.starts_with(kUtf8Bom) ? bytes.substr(3) : bytes;
    if (const CodecResult valid = CheckUtf8(body); !valid.ok()) {
        list.error = Fault(std::string(body.substr(0, valid.offset)), body, valid.offset, "UTF-8", 4);
        return list;
    }
    list.text.assign(body);
    return list;
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
    const bool bigEndian = sniffed == FileEncoding::kUtf16BeBom || sniffed == FileEncoding::kUtf16Be;
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
    const FileEncoding sniffed = SniffEncoding(bytes);
    switch (encoding) {
        case ListEncoding::kUtf8:
            return ReadUtf8(bytes);
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
    const std::string_view body = bytes.starts_with(kUtf8Bom) ? bytes.substr(3) : bytes;
    const CodecResult utf8 = CheckUtf8(body);
    if (utf8.ok() || bytes.starts_with(kUtf8Bom)) {
        return ReadUtf8(bytes);
    }
    std::size_t gbkStops = 0;
    ListText gbk = ReadGb18030(bytes, &gbkStops);
    if (gbk.error.empty()) {
        return gbk;
    }
    if (gbkStops > utf8.offset) {
        gbk.error += "; if the list is in another encoding, name it with --encoding";
        return gbk;
    }
    ListText list = ReadUtf8(bytes);
    list.error += ", nor GBK; if the list is in another encoding, name it with --encoding";
    return list;
}
