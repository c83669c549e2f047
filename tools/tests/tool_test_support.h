#pragma once
// Running idiomtool in-process on files in a scratch directory.

#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "gbk_literal.h"
#include "scratch_dir.h"

struct ToolResult {
    int code = -1;
    std::string out;
    std::string err;
};

ToolResult RunTool(const Args& args);

// The bytes of a UTF-8 literal.
std::string Bytes(std::u8string_view text);

std::string Utf8FromGbk(std::string_view gbk);

// `lines`, each followed by `end`: as UTF-8, or as GBK.
std::string JoinLines(const std::vector<std::u8string>& lines, std::string_view end);
std::string GbkDictionary(const std::vector<std::u8string>& lines, std::string_view end = "\r\n");

// UTF-16 bytes of a UTF-16 literal in the given byte order.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian);

// A small dictionary as a person would type it: explanations with a source,
// an example, an empty example ("示例：无") and one that begins with 无.
extern const std::vector<std::u8string> kSampleLines;
