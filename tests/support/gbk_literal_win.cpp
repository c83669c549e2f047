#include <windows.h>

#include <stdexcept>

#include "gbk_literal.h"

std::string Gbk(std::u8string_view utf8) {
    if (utf8.empty()) return {};
    const auto* bytes = reinterpret_cast<const char*>(utf8.data());
    const int length = static_cast<int>(utf8.size());
    const int wideLength =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    if (wideLength == 0) throw std::invalid_argument("test text is not UTF-8");
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes, length, wide.data(), wideLength);

    constexpr UINT kGbk = 936;
    BOOL lossy = FALSE;
    const int gbkLength = ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                                nullptr, 0, nullptr, &lossy);
    if (gbkLength == 0 || lossy) throw std::invalid_argument("test text GBK cannot hold");
    std::string gbk(static_cast<std::size_t>(gbkLength), '\0');
    ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, gbk.data(),
                          gbkLength, nullptr, nullptr);
    return gbk;
}
