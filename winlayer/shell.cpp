#include "shell.h"

#include <string>

#include "afx_win.h"
#include "text_conversion.h"

#include <shellapi.h>

bool ShellOpen(const char* address) {
    const std::wstring target = afx::GbkToWide(address);
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
