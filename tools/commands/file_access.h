#pragma once
// Reading a whole file, and replacing one so that it is never seen half
// written.

#include <filesystem>
#include <string>
#include <string_view>

// A path from a UTF-8 command-line argument (wide on Windows, so names in
// any script work; the bytes as given elsewhere).
std::filesystem::path PathFromUtf8(std::string_view utf8);

// The whole file as bytes. On failure `error` says why, for a person.
bool ReadFileBytes(const std::filesystem::path& file, std::string& bytes, std::string& error);

// Why `file` cannot be opened for reading, or "" when nothing speaks against
// it (no such file, a directory, ...).
std::string DescribeUnreadable(const std::filesystem::path& file);

// Writes `bytes` to a new file beside `target`, then renames it over
// `target`. On any failure the temporary file is removed and `target` is left
// as it was.
bool ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           std::string& error);

// Why `out` cannot take what is made from `in` without losing data (it is a
// folder, or the input itself), or "" when it can.
std::string ProblemWithTarget(const std::filesystem::path& in, const std::filesystem::path& out);
