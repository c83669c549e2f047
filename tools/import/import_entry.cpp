#include "import/import_entry.h"

#include <optional>
#include <string_view>

#include "import/pinyin_tones.h"
#include "text/unicode_nfc.h"
#include "text/utf8_char.h"

namespace {

constexpr std::string_view kSourceMarker = "出处";
constexpr std::string_view kExampleMarker = "示例";
constexpr std::string_view kFullColon = "：";
constexpr std::string_view kIdeographicSpace = "\u3000";

// Line and paragraph separators, no-break spaces and, in pinyin, the
// ideographic space all part words as a space does.
bool IsSpaceCharacter(char32_t c, bool ideographicToo) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x85 || c == 0xA0 || c == 0x2028 ||
           c == 0x2029 || (ideographicToo && c == 0x3000);
}

bool IsControlCharacter(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

// Spaces as described in the header; `control` gets the first control
// character that is no space (U+0000 too), if any. A stray byte order mark (U+FEFF),
// invisible and not in GBK, is dropped. `plainNfc` says whether every
// character is NFC whatever surrounds it, learnt on the way through.
std::string NormalizeSpace(std::string_view text, bool ideographicToo,
                           std::optional<char32_t>& control, bool& plainNfc) {
    plainNfc = true;
    std::string result;
    result.reserve(text.size());
    bool pendingSpace = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8CharLength(text, pos);
        const std::string_view character = text.substr(pos, length);
        pos += length;
        const char32_t c =
            length == 1 ? static_cast<unsigned char>(character[0]) : Utf8CodePoint(character);
        if (IsSpaceCharacter(c, ideographicToo)) {
            pendingSpace = !result.empty();
            continue;
        }
        if (c == 0xFEFF) {
            continue;
        }
        plainNfc = plainNfc && IsPlainlyNfcCharacter(c);
        if (!control && IsControlCharacter(c)) {
            control = c;
        }
        if (pendingSpace) {
            result += ' ';
            pendingSpace = false;
        }
        result.append(character);
    }
    return result;
}

bool ReplaceAll(std::string& text, std::string_view find, std::string_view replacement) {
    bool replaced = false;
    for (std::size_t at = text.find(find); at != std::string::npos;
         at = text.find(find, at + replacement.size())) {
        text.replace(at, find.size(), replacement);
        replaced = true;
    }
    return replaced;
}

void DropPrefix(std::string& text, std::string_view marker) {
    for (std::string_view colon : {kFullColon, std::string_view(":")}) {
        const std::string prefix = std::string(marker) + std::string(colon);
        if (text.starts_with(prefix)) {
            text.erase(0, prefix.size());
            const std::size_t begin = text.find_first_not_of(' ');
            text.erase(0, begin == std::string::npos ? text.size() : begin);
            return;
        }
    }
}

// The program ends the pinyin at its first "]", and takes a "[" in the idiom
// for the pinyin's start.
void ReplaceBrackets(std::string& text, Role role, std::vector<std::string>& fixes) {
    const bool opening = ReplaceAll(text, "[", "［");
    const bool closing = ReplaceAll(text, "]", "］");
    if (opening || closing) {
        fixes.push_back("the " + std::string(RoleName(role)) +
                        " holds a square bracket, written full-width (［ ］) so that it does "
                        "not end a field");
    }
}

}  // namespace

ImportedEntry ComposeEntry(RecordFields fields, const EntryOptions& options) {
    ImportedEntry entry;
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        std::optional<char32_t> control;
        bool plainNfc = true;
        fields[r] = NormalizeSpace(fields[r], r == static_cast<std::size_t>(Role::kPinyin), control,
                                   plainNfc);
        if (!plainNfc) {
            // NFC makes no space, control or bracket, so it may follow.
            fields[r] = LibraryNfc(fields[r]);
        }
        if (control && entry.skipped.empty()) {
            entry.skipped = "its " + std::string(RoleName(static_cast<Role>(r))) +
                            " holds the control character " + FormatCodePoint(*control);
        }
    }
    std::string& idiom = fields[static_cast<std::size_t>(Role::kIdiom)];
    std::string& pinyin = fields[static_cast<std::size_t>(Role::kPinyin)];
    std::string& explanation = fields[static_cast<std::size_t>(Role::kExplanation)];
    std::string& source = fields[static_cast<std::size_t>(Role::kSource)];
    std::string& example = fields[static_cast<std::size_t>(Role::kExample)];
    if (!entry.skipped.empty()) {
        return entry;
    }
    if (idiom.empty()) {
        entry.skipped = "it has no idiom";
        return entry;
    }

    // The markers this line writes itself are not doubled.
    DropPrefix(source, kSourceMarker);
    DropPrefix(example, kExampleMarker);
    if (example == "无") {
        example.clear();
    }
    for (Role role : {Role::kExplanation, Role::kSource, Role::kExample}) {
        const std::string& text = fields[static_cast<std::size_t>(role)];
        for (std::string_view marker : {kSourceMarker, kExampleMarker}) {
            if (text.find(marker) != std::string::npos) {
                entry.skipped = "its " + std::string(RoleName(role)) + " holds \"" +
                                std::string(marker) +
                                "\", where the program would start a section of its own";
                return entry;
            }
        }
    }

    if (ReplaceAll(idiom, " ", kIdeographicSpace)) {
        entry.fixes.push_back(
            "the idiom holds a space, written as an ideographic space (U+3000) so that it "
            "does not end the idiom");
    }
    ReplaceBrackets(idiom, Role::kIdiom, entry.fixes);
    // A list may give the pinyin in brackets already.
    if (pinyin.size() >= 2 && pinyin.front() == '[' && pinyin.back() == ']') {
        std::optional<char32_t> none;  // controls were ruled out above
        bool plainNfc = true;          // and it is NFC already
        pinyin = NormalizeSpace(std::string_view(pinyin).substr(1, pinyin.size() - 2), true, none,
                                plainNfc);
    }
    if (!options.keepToneNumbers) {
        MarkedPinyin marked = MarkTones(pinyin);
        if (!marked.error.empty()) {
            entry.malformed = "its pinyin " + marked.error;
            return entry;
        }
        pinyin = std::move(marked.text);
    }
    ReplaceBrackets(pinyin, Role::kPinyin, entry.fixes);

    entry.line = idiom + " [" + pinyin + "]" + explanation;
    if (!source.empty()) {
        entry.line.append(kSourceMarker).append(kFullColon).append(source);
    }
    entry.line.append(kExampleMarker).append(kFullColon).append(example.empty() ? "无" : example);
    return entry;
}
