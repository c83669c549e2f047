// Code page text to UTF-16 and back, with the Windows functions.

#include "text/wide_text_win.h"

// `bytes` in code page `codePage` as UTF-16; false when a sequence is invalid.
bool ToWide(UINT codePage, std::string_view bytes, std::wstring& wide) {
    wide.clear();
    if (bytes.empty()) {
        return true;  // the functions refuse an empty input
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                               length) == length;
}

// UTF-16 to code page `codePage`. For UTF-8 a lone surrogate fails; for GBK a
// character without an exact equivalent sets `*unencodable` (no best fit: a
// look-alike in the dictionary would be a silent error).
bool FromWide(UINT codePage, std::wstring_view wide, std::string& bytes, bool* unencodable) {
    bytes.clear();
    if (wide.empty()) {
        return true;
    }
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;  // not allowed for UTF-8
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                           usedDefaultOut);
    if (length <= 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(length));
    if (WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr,
                            usedDefaultOut) != length) {
        return false;
    }
    if (unencodable != nullptr) {
        *unencodable = usedDefault != FALSE;
    }
    return true;
}
