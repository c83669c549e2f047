#include "dictionary/dictionary_convert.h"

#include "text/gbk_validity.h"
#include "text/text_codec.h"
#include "text/text_position.h"
#include "text/utf8_char.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == kCrLf ? 2 : 1);
    }
    return lines;
}

// GBK for `utf8`, but only as the program can read it back: code page 936
// writes the euro sign as the lone byte 0x80, which is no GBK character.
bool EncodeReadably(std::string_view utf8, std::string& gbk) {
    return Utf8ToGbk(utf8, gbk).ok() && !FindGbkFault(gbk).found;
}

std::string JoinLines(const std::vector<std::string_view>& lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append(kCrLf);
    }
    return text;
}

// Text decoded from UTF-16 or with its UTF-8 byte order mark dropped; on
// invalid UTF-16 fills the error fields of `outcome` instead.
bool DecodeSource(std::string_view bytes, ConvertOutcome& outcome, std::string& text,
                  std::size_t& skippedBytes) {
    skippedBytes = ByteOrderMarkLength(outcome.source);
    const std::string_view body = bytes.substr(skippedBytes);
    if (!IsUtf16(outcome.source)) {
        text.assign(body);
        return true;
    }
    const bool bigEndian =
        outcome.source == FileEncoding::kUtf16BeBom || outcome.source == FileEncoding::kUtf16Be;
    const CodecResult decoded = Utf16ToUtf8(body, bigEndian, text);
    if (decoded.ok()) {
        return true;
    }
    std::string before;
    Utf16ToUtf8(body.substr(0, decoded.offset), bigEndian, before);
    outcome.status = ConvertStatus::kInvalidInput;
    outcome.errorLine = PositionOf(before, before.size()).line;
    outcome.errorOffset = skippedBytes + decoded.offset;
    return false;
}

}  // namespace

ConvertOutcome ConvertToGbk(std::string_view bytes, bool skipUnencodable) {
    ConvertOutcome outcome;
    const FileEncoding sniffed = SniffEncoding(bytes);
    // Whatever is not UTF-16 is taken for UTF-8, even where it would also
    // pass for GBK: asking for a conversion says what the file is.
    outcome.source =
        IsUtf16(sniffed) || sniffed == FileEncoding::kUtf8Bom ? sniffed : FileEncoding::kUtf8;
    std::string text;
    std::size_t skippedBytes = 0;
    if (!DecodeSource(bytes, outcome, text, skippedBytes)) {
        return outcome;
    }
    if (const CodecResult valid = CheckUtf8(text); !valid.ok()) {
        outcome.status = ConvertStatus::kInvalidInput;
        outcome.errorLine = PositionOf(text, valid.offset).line;
        outcome.errorOffset = skippedBytes + valid.offset;
        return outcome;
    }

    ConvertOutcome converted = ConvertLinesToGbk(SplitLines(text), skipUnencodable);
    converted.source = outcome.source;
    return converted;
}

ConvertOutcome ConvertLinesToGbk(const std::vector<std::string_view>& lines, bool skipUnencodable) {
    ConvertOutcome outcome;
    if (EncodeReadably(JoinLines(lines), outcome.gbk)) {
        outcome.entries = lines.size();
        return outcome;
    }

    // Something GBK cannot hold: find every such character, line by line.
    std::vector<std::string_view> kept;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string scratch;
        if (EncodeReadably(lines[i], scratch)) {
            kept.push_back(lines[i]);
            continue;
        }
        for (std::size_t pos = 0; pos < lines[i].size();) {
            const std::size_t length = Utf8CharLength(lines[i], pos);
            const std::string_view character = lines[i].substr(pos, length);
            if (!EncodeReadably(character, scratch)) {
                outcome.unencodable.push_back(
                    {i + 1, std::string(character), Utf8CodePoint(character)});
            }
            pos += length;
        }
        ++outcome.skipped;
    }
    if (!skipUnencodable || !EncodeReadably(JoinLines(kept), outcome.gbk)) {
        outcome.status = ConvertStatus::kUnencodable;
        outcome.gbk.clear();
        outcome.skipped = 0;
        return outcome;
    }
    outcome.entries = kept.size();
    return outcome;
}
