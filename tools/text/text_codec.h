#pragma once
// Text conversion between the dictionary's GBK and the UTF-8 a person edits,
// done by the platform's own converter (iconv, or the Windows code page
// functions with code page 936). Conversions work on whole strings and never
// guess: they either succeed or say where the first bad character starts.

#include <cstddef>
#include <string>
#include <string_view>

enum class CodecStatus {
    kOk,
    kInvalidInput,  // the input is not valid in its own encoding
    kUnencodable,   // a valid character that the target encoding cannot hold
};

struct CodecResult {
    CodecStatus status = CodecStatus::kOk;
    std::size_t offset = 0;  // byte offset in the input of the first bad character

    bool ok() const { return status == CodecStatus::kOk; }
};

// GBK bytes to UTF-8. On failure `utf8` holds nothing useful.
CodecResult GbkToUtf8(std::string_view gbk, std::string& utf8);

// GB18030 bytes to UTF-8: GBK's one- and two-byte characters and the
// four-byte ones (0x81-0xFE, 0x30-0x39, 0x81-0xFE, 0x30-0x39) that reach the
// rest of Unicode. What a Chinese Windows saves as "ANSI" reads this way.
// On failure `utf8` holds nothing useful.
CodecResult Gb18030ToUtf8(std::string_view gb18030, std::string& utf8);

// Whether Gb18030ToUtf8 reads the four-byte characters: always with iconv;
// on Windows where the system has the GB18030 code page (54936). Without it
// (Wine 8) GBK is read, all of it, and a four-byte character is invalid.
bool HasFourByteGb18030();

// UTF-8 to GBK. Invalid UTF-8 is reported as such, before any character that
// GBK cannot hold. On failure `gbk` holds nothing useful.
CodecResult Utf8ToGbk(std::string_view utf8, std::string& gbk);

// Whether `text` is valid UTF-8; on failure, where it stops being so.
CodecResult CheckUtf8(std::string_view text);

// UTF-16 bytes (no byte order mark) to UTF-8. An odd trailing byte or a lone
// surrogate is invalid input; the offset counts bytes of `utf16`.
CodecResult Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& utf8);
