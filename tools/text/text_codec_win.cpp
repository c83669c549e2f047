// The text codec on top of the Windows code page functions: code page 936 is
// the GBK that Chinese Windows itself uses for the dictionary.

#include <windows.h>

#include "text/text_codec.h"
#include "text/wide_text_win.h"
#include "text/utf8_validity.h"

namespace {

constexpr UINT kGbkCodePage = 936;
constexpr UINT kGb18030CodePage = 54936;

enum class Piece { kNotACharacter, kGood, kBad };

// The functions above only say that a conversion failed, not where. This walks
// the input character by character to find the place: a character is the
// shortest piece (at most `maxLength` units) that converts on its own, since
// no character of UTF-8, GBK, GB18030 or UTF-16 has a shorter valid prefix.
template <class Classify>
CodecResult FindFirstBad(std::size_t size, std::size_t maxLength, CodecStatus whenBad,
                         Classify classify) {
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t length = 1;
        Piece piece = Piece::kNotACharacter;
        for (; length <= maxLength && pos + length <= size; ++length) {
            piece = classify(pos, length);
            if (piece != Piece::kNotACharacter) {
                break;
            }
        }
        if (piece == Piece::kNotACharacter) {
            return {CodecStatus::kInvalidInput, pos};
        }
        if (piece == Piece::kBad) {
            return {whenBad, pos};
        }
        pos += length;
    }
    // The whole failed but no piece did: blame the end rather than claim success.
    return {CodecStatus::kInvalidInput, size};
}

CodecResult FindInvalid(UINT codePage, std::string_view bytes, std::size_t maxLength) {
    return FindFirstBad(bytes.size(), maxLength, CodecStatus::kInvalidInput,
                        [&](std::size_t pos, std::size_t length) {
                            std::wstring wide;
                            return ToWide(codePage, bytes.substr(pos, length), wide)
                                       ? Piece::kGood
                                       : Piece::kNotACharacter;
                        });
}

}  // namespace

CodecResult GbkToUtf8(std::string_view gbk, std::string& utf8) {
    std::wstring wide;
    if (!ToWide(kGbkCodePage, gbk, wide)) {
        utf8.clear();
        return FindInvalid(kGbkCodePage, gbk, 2);
    }
    FromWide(CP_UTF8, wide, utf8, nullptr);  // text read from GBK is always valid UTF-16
    return {};
}

namespace {

// GB18030 where the system has its code page, as Windows does; Wine 8 has
// no table for it, and there GBK reads all but the four-byte characters.
UINT Gb18030CodePage() {
    static const UINT codePage =
        IsValidCodePage(kGb18030CodePage) ? kGb18030CodePage : kGbkCodePage;
    return codePage;
}

}  // namespace

bool HasFourByteGb18030() { return Gb18030CodePage() == kGb18030CodePage; }

CodecResult Gb18030ToUtf8(std::string_view gb18030, std::string& utf8) {
    std::wstring wide;
    if (!ToWide(Gb18030CodePage(), gb18030, wide)) {
        utf8.clear();
        return FindInvalid(Gb18030CodePage(), gb18030, 4);
    }
    FromWide(CP_UTF8, wide, utf8, nullptr);
    return {};
}

CodecResult CheckUtf8(std::string_view text) {
    if (const std::size_t bad = FindInvalidUtf8(text); bad != std::string_view::npos) {
        return {CodecStatus::kInvalidInput, bad};
    }
    return {};
}

CodecResult Utf8ToGbk(std::string_view utf8, std::string& gbk) {
    std::wstring wide;
    if (!ToWide(CP_UTF8, utf8, wide)) {
        gbk.clear();
        return FindInvalid(CP_UTF8, utf8, 4);
    }
    bool unencodable = false;
    if (FromWide(kGbkCodePage, wide, gbk, &unencodable) && !unencodable) {
        return {};
    }
    gbk.clear();
    return FindFirstBad(
        utf8.size(), 4, CodecStatus::kUnencodable, [&](std::size_t pos, std::size_t length) {
            std::wstring piece;
            if (!ToWide(CP_UTF8, utf8.substr(pos, length), piece)) {
                return Piece::kNotACharacter;
            }
            std::string narrow;
            bool lost = false;
            return FromWide(kGbkCodePage, piece, narrow, &lost) && !lost ? Piece::kGood
                                                                         : Piece::kBad;
        });
}

CodecResult Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& utf8) {
    std::wstring wide(utf16.size() / 2, L'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto first = static_cast<unsigned char>(utf16[2 * i]);
        const auto second = static_cast<unsigned char>(utf16[2 * i + 1]);
        wide[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    if (!FromWide(CP_UTF8, wide, utf8, nullptr)) {
        utf8.clear();
        const CodecResult bad = FindFirstBad(
            wide.size(), 2, CodecStatus::kInvalidInput, [&](std::size_t pos, std::size_t length) {
                std::string narrow;
                return FromWide(CP_UTF8, std::wstring_view(wide).substr(pos, length), narrow,
                                nullptr)
                           ? Piece::kGood
                           : Piece::kNotACharacter;
            });
        return {bad.status, bad.offset * 2};  // units to bytes
    }
    if (utf16.size() % 2 != 0) {
        utf8.clear();
        return {CodecStatus::kInvalidInput, utf16.size() - 1};  // half a unit at the end
    }
    return {};
}
