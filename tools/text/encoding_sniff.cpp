#include "text/encoding_sniff.h"

#include <algorithm>

#include "gbk_text.h"
#include "text/gbk_validity.h"
#include "text/text_codec.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 text without a byte order mark: ASCII characters (spaces, brackets,
// pinyin, line ends) leave a NUL in their high byte, so one parity of places
// holds many NULs and the other few. GBK text holds none at all.
bool LooksLikeUtf16(std::string_view bytes, bool& bigEndian) {
    std::size_t evenNuls = 0;
    std::size_t oddNuls = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') {
            ++(i % 2 == 0 ? evenNuls : oddNuls);
        }
    }
    const std::size_t units = bytes.size() / 2;
    const std::size_t more = std::max(evenNuls, oddNuls);
    const std::size_t fewer = std::min(evenNuls, oddNuls);
    if (more < 2 || more < units / 8 || fewer * 4 > more) {
        return false;
    }
    bigEndian = evenNuls > oddNuls;  // the high byte comes first
    return true;
}

// Whether bytes that are valid UTF-8 read as GBK Chinese just as well. UTF-8
// Chinese read as GBK pairs its bytes out of step and yields mostly rare
// characters; real GBK text is nearly all GB2312 (both bytes 0xA1-0xFE).
bool PlausiblyGbk(std::string_view bytes) {
    if (FindGbkFault(bytes).found) {
        return false;
    }
    std::size_t pairs = 0;
    std::size_t common = 0;
    for (std::size_t pos = 0; pos < bytes.size(); pos += gbk::CharLength(bytes, pos)) {
        if (gbk::CharLength(bytes, pos) == 2) {
            ++pairs;
            const auto lead = static_cast<unsigned char>(bytes[pos]);
            const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
            common += lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
        }
    }
    return common * 2 > pairs;
}

}  // namespace

FileEncoding SniffEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return FileEncoding::kUtf8Bom;
    }
    if (bytes.starts_with(kUtf16LeBom)) {
        return FileEncoding::kUtf16LeBom;
    }
    if (bytes.starts_with(kUtf16BeBom)) {
        return FileEncoding::kUtf16BeBom;
    }
    if (bool bigEndian = false; LooksLikeUtf16(bytes, bigEndian)) {
        return bigEndian ? FileEncoding::kUtf16Be : FileEncoding::kUtf16Le;
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && CheckUtf8(bytes).ok() && !PlausiblyGbk(bytes)) {
        return FileEncoding::kUtf8;
    }
    return FileEncoding::kGbk;
}

std::string_view DescribeEncoding(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::kGbk:
            return "GBK";
        case FileEncoding::kUtf8:
            return "UTF-8";
        case FileEncoding::kUtf8Bom:
            return "UTF-8 with a byte order mark";
        case FileEncoding::kUtf16LeBom:
            return "UTF-16 little-endian with a byte order mark";
        case FileEncoding::kUtf16BeBom:
            return "UTF-16 big-endian with a byte order mark";
        case FileEncoding::kUtf16Le:
            return "UTF-16 little-endian (NUL bytes in every other place)";
        case FileEncoding::kUtf16Be:
            return "UTF-16 big-endian (NUL bytes in every other place)";
    }
    return "unknown";
}

bool IsUtf16(FileEncoding encoding) {
    return encoding == FileEncoding::kUtf16LeBom || encoding == FileEncoding::kUtf16BeBom ||
           encoding == FileEncoding::kUtf16Le || encoding == FileEncoding::kUtf16Be;
}

std::size_t ByteOrderMarkLength(FileEncoding encoding) {
    switch (encoding) {
        case FileEncoding::kUtf8Bom:
            return kUtf8Bom.size();
        case FileEncoding::kUtf16LeBom:
        case FileEncoding::kUtf16BeBom:
            return kUtf16LeBom.size();
        default:
            return 0;
    }
}
