// Code page text to UTF-16 and back, with the Windows functions, for the
// tool's codec and its NFC.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// `bytes` in code page `codePage` as UTF-16; false when a sequence is invalid.
bool ToWide(UINT codePage, std::string_view bytes, std::wstring& wide);

// UTF-16 to code page `codePage`. For UTF-8 a lone surrogate fails; for GBK a
// character without an exact equivalent sets `*unencodable` (no best fit: a
// look-alike in the dictionary would be a silent error).
bool FromWide(UINT codePage, std::wstring_view wide, std::string& bytes, bool* unencodable);
