#include "shell.h"

#include <string>

#include "afx_win.h"
#include "text_conversion.h"

#include <shellapi.h>

bool ShellOpen(const char* address) {
    const std::wstring target = afx::GbkToWide(address);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // Synchronous: the program ends right after this call, and a launch left
    // to a background thread would die with it before the browser starts.
    // Failures stay silent.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = target.c_str();
    info.lpParameters = nullptr;
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}
