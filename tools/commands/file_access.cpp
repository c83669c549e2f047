#include "commands/file_access.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (m_armed) {
            std::error_code ignored;
            fs::remove(m_path, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return m_path; }
    void Keep() { m_armed = false; }

private:
    fs::path m_path;
    bool m_armed = true;
};

// A name in the target's own directory, so the rename stays on one volume.
fs::path TemporaryNameFor(const fs::path& target) {
    std::random_device random;
    for (;;) {
        std::ostringstream suffix;
        suffix << '.' << std::hex << random() << ".tmp";
        fs::path name = target.filename();  // appended to natively: any script survives
        name += suffix.str();
        fs::path candidate = target.parent_path() / name;
        std::error_code error;
        if (!fs::exists(candidate, error)) {
            return candidate;
        }
    }
}

bool RenameOver(const fs::path& from, const fs::path& to, std::string& error) {
#ifdef _WIN32
    // _wrename, under std::filesystem::rename here, refuses an existing target.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    error = "cannot rename the new file into place (Windows error " +
            std::to_string(GetLastError()) + ")";
    return false;
#else
    std::error_code code;
    fs::rename(from, to, code);
    error = code ? "cannot rename the new file into place: " + code.message() : "";
    return !code;
#endif
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#else
    return fs::path(std::string(utf8));
#endif
}

std::string DescribeUnreadable(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return "no such file";
    }
    if (error) {
        return error.message();
    }
    if (fs::is_directory(status)) {
        return "it is a directory";
    }
    return "";
}

bool ReadFileBytes(const fs::path& file, std::string& bytes, std::string& error) {
    error = DescribeUnreadable(file);
    if (!error.empty()) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        error = "cannot open it";
        return false;
    }
    // Read at the size the file has, in one piece: a stream copy grows its
    // buffer step by step, which costs a large list more than parsing it.
    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(file, sizeError);
    bytes.clear();
    if (!sizeError) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    // Whatever follows (a file still growing, or a size that is not known).
    char block[64 * 1024];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        error = "read error";
        return false;
    }
    return true;
}

bool ReplaceFileAtomically(const fs::path& target, std::string_view bytes, std::string& error) {
    TemporaryFile temporary(TemporaryNameFor(target));
    {
        std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
        if (!out.is_open()) {
            error = "cannot create a file in its directory";
            return false;
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out.fail()) {
            error = "write error (disk full?)";
            return false;
        }
    }
    if (!RenameOver(temporary.path(), target, error)) {
        return false;
    }
    temporary.Keep();
    return true;
}

std::string ProblemWithTarget(const fs::path& in, const fs::path& out) {
    std::error_code error;
    if (fs::is_directory(out, error)) {
        return "it is a directory";
    }
    if (fs::equivalent(in, out, error)) {
        return "it is the input file, which is never overwritten";
    }
    return "";
}
