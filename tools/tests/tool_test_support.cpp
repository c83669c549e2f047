#include "tool_test_support.h"

#include <sstream>
#include <stdexcept>

#include "text/text_codec.h"

ToolResult RunTool(const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    ToolResult result;
    result.code = RunIdiomTool(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

std::string Utf8FromGbk(std::string_view gbk) {
    std::string utf8;
    if (!GbkToUtf8(gbk, utf8).ok()) {
        throw std::invalid_argument("not GBK");
    }
    return utf8;
}

std::string JoinLines(const std::vector<std::u8string>& lines, std::string_view end) {
    std::string text;
    for (const std::u8string& line : lines) {
        text += Bytes(line);
        text += end;
    }
    return text;
}

std::string GbkDictionary(const std::vector<std::u8string>& lines, std::string_view end) {
    std::string text;
    for (const std::u8string& line : lines) {
        text += Gbk(line);
        text += end;
    }
    return text;
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const std::vector<std::u8string> kSampleLines = {
    u8"一帆风顺 [yī fān fēng shùn] 比喻非常顺利，没有阻碍。出处：唐·孟郊《送崔爽之湖南》。"
    u8"示例：祝你一路上一帆风顺。",
    u8"画蛇添足 [huà shé tiān zú] 比喻做了多余的事，反而不恰当。出处：《战国策·齐策二》。"
    u8"示例：无",
    u8"守株待兔 [shǒu zhū dài tù] 比喻死守狭隘经验，不知变通。示例：无论如何不能守株待兔。",
};
