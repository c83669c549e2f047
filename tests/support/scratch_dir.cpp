#include "scratch_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    std::random_device random;
    for (;;) {
        std::ostringstream name;
        name << "quendril-test-" << std::hex << random() << random();
        m_dir = fs::temp_directory_path() / name.str();
        if (fs::create_directory(m_dir)) break;  // not one a test before left behind
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
}

std::string ScratchDir::Arg(std::u8string_view name) const {
    const std::u8string path = (m_dir / name).u8string();
    return std::string(path.begin(), path.end());
}

std::string ScratchDir::Write(std::u8string_view name, std::string_view bytes) const {
    std::ofstream(m_dir / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return Arg(name);
}

std::string ScratchDir::Read(std::u8string_view name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool ScratchDir::Exists(std::u8string_view name) const { return fs::exists(m_dir / name); }

std::size_t ScratchDir::FileCount() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
}

WorkingDir::WorkingDir() : m_previous(fs::current_path()) { fs::current_path(Path()); }

WorkingDir::~WorkingDir() {
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
}
