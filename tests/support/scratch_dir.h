#pragma once
// Scratch folders for tests: made fresh under the system's temporary folder
// and removed, with everything in them, when the test is done.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_dir; }
    // The full name of `name` in the folder as UTF-8, as a command line has it.
    std::string Arg(std::u8string_view name) const;
    // Writes the file and returns its Arg.
    std::string Write(std::u8string_view name, std::string_view bytes) const;
    std::string Read(std::u8string_view name) const;
    bool Exists(std::u8string_view name) const;
    std::size_t FileCount() const;

private:
    std::filesystem::path m_dir;
};

// A scratch folder that is the current directory while it lives: the code
// under test finds its dictionary there.
class WorkingDir : public ScratchDir {
public:
    WorkingDir();
    ~WorkingDir();

private:
    std::filesystem::path m_previous;
};
