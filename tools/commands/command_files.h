#pragma once
// What the commands that make OUT of IN share: reading IN, guarding OUT and
// writing it, each failure reported the same way ("idiomtool: cannot read
// IN: why").

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

struct InputAndOutput {
    std::string inName, outName;  // as given, UTF-8
    std::filesystem::path inPath, outPath;
};

InputAndOutput NameFiles(const std::string& inName, const std::string& outName);

// IN's bytes, once OUT is known to be no folder and not IN itself.
bool ReadInputFor(const InputAndOutput& files, std::string& bytes, std::ostream& err);

// Whether OUT is a file that holds something, which an empty result must
// not replace.
bool OutputHoldsData(const InputAndOutput& files);

// OUT replaced whole by `bytes`.
bool WriteOutput(const InputAndOutput& files, std::string_view bytes, std::ostream& err);
