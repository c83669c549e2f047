// NFC by the system's NormalizeString (normaliz.dll), on UTF-16.

#include <windows.h>

#include "text/unicode_nfc.h"
#include "text/wide_text_win.h"

std::string LibraryNfc(std::string_view utf8) {
    std::wstring wide;
    if (utf8.empty() || !ToWide(CP_UTF8, utf8, wide)) {
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
            std::string result;
            FromWide(CP_UTF8, normal, result, nullptr);  // the system's own output is valid
            return result;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
        estimate = -length;
    }
    return std::string(utf8);  // text the system will not normalise stays as given
}
