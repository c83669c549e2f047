// idiomtool on Windows: arguments come in UTF-16 so that file names in any
// script survive, and a console is written in UTF-16 so that Chinese shows
// whatever the console's code page.

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "commands/commands.h"

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* argv) const { LocalFree(argv); }
};

std::string ToUtf8(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back();  // the terminating NUL
    return text;
}

bool WriteToConsole(HANDLE console, const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    // Older consoles refuse large writes; pieces never split a surrogate pair.
    constexpr std::size_t kPiece = 8192;
    for (std::size_t pos = 0; pos < wide.size();) {
        std::size_t count = std::min(kPiece, wide.size() - pos);
        if (pos + count < wide.size() && IS_HIGH_SURROGATE(wide[pos + count - 1])) {
            --count;
        }
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + pos, static_cast<DWORD>(count), &written,
                           nullptr)) {
            return false;
        }
        pos += count;
    }
    return true;
}

// A console gets the text as UTF-16; a file or pipe gets the UTF-8 bytes,
// with the C runtime's usual CR LF line ends.
void Write(DWORD which, std::FILE* stream, const std::string& utf8) {
    if (utf8.empty()) {
        return;
    }
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) &&
        WriteToConsole(handle, utf8)) {
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace

int main() {
    int argc = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
        CommandLineToArgvW(GetCommandLineW(), &argc));
    Args args;
    for (int i = 1; argv && i < argc; ++i) {
        args.push_back(ToUtf8(argv.get()[i]));
    }
    // Collected first: the console wants whole characters, not bytes.
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunIdiomTool(args, out, err);
    Write(STD_OUTPUT_HANDLE, stdout, out.str());
    Write(STD_ERROR_HANDLE, stderr, err.str());
    return code;
}
