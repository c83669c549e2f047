#include "commands/command_files.h"

#include <ostream>
#include <system_error>

#include "commands/file_access.h"

InputAndOutput NameFiles(const std::string& inName, const std::string& outName) {
    return {inName, outName, PathFromUtf8(inName), PathFromUtf8(outName)};
}

bool ReadInputFor(const InputAndOutput& files, std::string& bytes, std::ostream& err) {
    std::string error;
    if (!ReadFileBytes(files.inPath, bytes, error)) {
        err << "idiomtool: cannot read " << files.inName << ": " << error << "\n";
        return false;
    }
    if (error = ProblemWithTarget(files.inPath, files.outPath); !error.empty()) {
        err << "idiomtool: cannot write " << files.outName << ": " << error << "\n";
        return false;
    }
    return true;
}

bool OutputHoldsData(const InputAndOutput& files) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(files.outPath, error);
    return !error && size > 0;
}

bool WriteOutput(const InputAndOutput& files, std::string_view bytes, std::ostream& err) {
    std::string error;
    if (!ReplaceFileAtomically(files.outPath, bytes, error)) {
        err << "idiomtool: cannot write " << files.outName << ": " << error << "\n";
        return false;
    }
    return true;
}
