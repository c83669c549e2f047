#include "dictionary/entry_display.h"

#include "gbk_text.h"
#include "text/text_codec.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

std::string GbkForDisplay(std::string_view gbk, bool& lossy) {
    std::string shown;
    std::string piece;
    while (!gbk.empty()) {
        const CodecResult result = GbkToUtf8(gbk, piece);
        if (result.ok()) {
            shown += piece;
            break;
        }
        GbkToUtf8(gbk.substr(0, result.offset), piece);  // the good part before it
        shown += piece;
        shown += kReplacement;
        lossy = true;
        // One byte only: the byte after a bad lead byte may be a character.
        gbk.remove_prefix(result.offset + 1);
    }
    return shown;
}

std::string FormatEntry(const EntryFields& fields, bool& lossy) {
    std::string text = "成语: " + GbkForDisplay(fields.idiom, lossy) + "\n";
    text += "拼音:" + GbkForDisplay(fields.pronunciation, lossy) + "\n";
    text += "解释:\n";
    const std::string explanation = gbk::ReplaceAll(fields.explanation, "\r\n", "\n");
    text += GbkForDisplay(explanation, lossy) + "\n";
    return text;
}
