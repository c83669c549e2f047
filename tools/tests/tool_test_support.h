#pragma once
// Running idiomtool in-process on files in a scratch directory.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

struct ToolResult {
    int code = -1;
    std::string out;
    std::string err;
};

ToolResult RunTool(const Args& args);

// The bytes of a UTF-8 literal.
std::string Bytes(std::u8string_view text);

// GBK through the codec; throws for text GBK cannot hold.
std::string Gbk(std::u8string_view text);
std::string Utf8FromGbk(std::string_view gbk);

// `lines`, each followed by `end`: as UTF-8, or as GBK through the codec.
std::string JoinLines(const std::vector<std::u8string>& lines, std::string_view end);
std::string GbkDictionary(const std::vector<std::u8string>& lines, std::string_view end = "\r\n");

// UTF-16 bytes of a UTF-16 literal in the given byte order.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian);

// A small dictionary as a person would type it: explanations with a source,
// an example, an empty example ("示例：无") and one that begins with 无.
extern const std::vector<std::u8string> kSampleLines;

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The command-line argument (UTF-8) that names `name` in the directory.
    std::string Arg(std::u8string_view name) const;
    // Writes the file and returns its argument.
    std::string Write(std::u8string_view name, std::string_view bytes) const;
    std::string Read(std::u8string_view name) const;
    bool Exists(std::u8string_view name) const;
    std::size_t FileCount() const;

private:
    std::filesystem::path m_dir;
};
