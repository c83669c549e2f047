#pragma once
// Synthetic idiom dictionaries for the benchmark: GBK lines shaped like the
// real file (idiom, space, [pinyin with tone marks], explanation with 出处 and
// 示例 sections, CR LF), made from a fixed seed so every run measures the
// same bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

struct GeneratedDictionary {
    std::filesystem::path path;
    std::size_t entries = 0;
    std::uintmax_t bytes = 0;
};

// One entry without its line end; the same (seed, index) always gives the
// same bytes.
std::string MakeEntry(std::uint64_t seed, std::size_t index);

// Writes a dictionary of `entries` lines into `directory`, or reuses the one
// an earlier run wrote there. The file appears under its final name only once
// complete, so an interrupted run never leaves a short file to be reused.
GeneratedDictionary EnsureDictionary(const std::filesystem::path& directory, std::size_t entries);
