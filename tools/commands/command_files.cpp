#include "commands/command_files.h"

#include <ostream>

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

bool WriteOutput(const InputAndOutput& files, std::string_view bytes, std::ostream& err) {
    std::string error;
    if (!ReplaceFileAtomically(files.outPath, bytes, error)) {
        err << "idiomtool: cannot write " << files.outName << ": " << error << "\n";
        return false;
    }
    return true;
}
