#pragma once
// The one place where the program's GBK text meets Windows' UTF-16: every
// string handed to a W function passes through here, so Chinese reads right
// whatever the system's ANSI code page is.

#include <string>
#include <string_view>

namespace afx {

// The code page of the program's own text: GBK.
inline constexpr unsigned kGbkCodePage = 936;

// GBK bytes to UTF-16. Bytes that are not valid GBK become U+FFFD or the
// system's best guess; nothing is dropped silently beyond that.
std::wstring GbkToWide(std::string_view gbk);

// UTF-16 to GBK; characters GBK cannot hold become "?".
std::string WideToGbk(std::wstring_view wide);

}  // namespace afx
