// NFC by the system's NormalizeString (normaliz.dll), on UTF-16.

#include <windows.h>

#include "text/unicode_nfc.h"

namespace {

bool ToWide(std::string_view utf8, std::wstring& wide) {
    const int size = static_cast<int>(utf8.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(),
                               length) == length;
}

std::string ToUtf8(std::wstring_view wide) {
    std::string utf8;
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length > 0) {
        utf8.resize(static_cast<std::size_t>(length));
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    }
    return utf8;
}

}  // namespace

std::string LibraryNfc(std::string_view utf8) {
    std::wstring wide;
    if (utf8.empty() || !ToWide(utf8, wide)) {
        return std::string(utf8);
    }
    const int size = static_cast<int>(wide.size());
    // The first call gives an estimate; a result longer than it says so with
    // ERROR_INSUFFICIENT_BUFFER and a better estimate, as documented.
    int estimate = NormalizeString(NormalizationC, wide.data(), size, nullptr, 0);
    for (int attempt = 0; attempt < 10 && estimate > 0; ++attempt) {
        std::wstring normal(static_cast<std::size_t>(estimate), L'\0');
        const int length =
            NormalizeString(NormalizationC, wide.data(), size, normal.data(), estimate);
        if (length > 0) {
            normal.resize(static_cast<std::size_t>(length));
            return ToUtf8(normal);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
        estimate = -length;
    }
    return std::string(utf8);  // text the system will not normalise stays as given
}
