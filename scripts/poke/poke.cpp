// A small helper for the run and screenshot scripts: finds the running
// program's main dialog and waits for it, opens its About box, or tells where
// a window is, so that a screenshot can be cut to it; or opens Find with a
// text typed into it.
//
//   quendril_poke wait            waits until the start entry is shown
//   quendril_poke about           opens the About box and waits for it
//   quendril_poke find TEXT       opens Find, types TEXT (ASCII) and waits
//   quendril_poke rect main|about prints "W H X Y" of that window
#include <cstdio>
#include <cstring>
#include <string>

#include "afx_win.h"
#include "resource.h"

namespace {

const wchar_t kMainCaption[] = L"Quendril成语学习软件";
const wchar_t kAboutCaption[] = L"关于 Quendril成语学习软件";
const wchar_t kFindCaption[] = L"查找成语";

HWND WaitForWindow(const wchar_t* caption, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (HWND window = ::FindWindowW(L"#32770", caption); window && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(50);
    }
    return nullptr;
}

bool HasEntry(HWND main) {
    return ::SendMessageW(::GetDlgItem(main, IDC_IDIOM), WM_GETTEXTLENGTH, 0, 0) > 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    HWND main = WaitForWindow(kMainCaption, 30000);
    if (main == nullptr) {
        std::fprintf(stderr, "quendril_poke: the program's window did not appear\n");
        return 1;
    }
    if (command == "wait") {
        for (int waited = 0; waited < 10000 && !HasEntry(main); waited += 50) ::Sleep(50);
        ::Sleep(500);  // let it paint
        return 0;
    }
    if (command == "about") {
        ::PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        const bool shown = WaitForWindow(kAboutCaption, 10000) != nullptr;
        ::Sleep(500);
        return shown ? 0 : 1;
    }
    if (command == "find" && argc > 2) {
        ::PostMessageW(main, WM_SYSCOMMAND, IDM_FINDIDIOM, 0);
        HWND find = WaitForWindow(kFindCaption, 10000);
        if (find == nullptr) return 1;
        HWND edit = ::GetDlgItem(find, IDC_FIND_TEXT);
        for (const char* c = argv[2]; *c != '\0'; ++c) {
            ::PostMessageW(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*c)), 1);
        }
        ::Sleep(800);
        return 0;
    }
    if (command == "rect" && argc > 2) {
        HWND window =
            std::strcmp(argv[2], "about") == 0 ? WaitForWindow(kAboutCaption, 10000) : main;
        RECT rect = {};
        if (window == nullptr || !::GetWindowRect(window, &rect)) return 1;
        std::printf("%ld %ld %ld %ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                    rect.top);
        return 0;
    }
    std::fprintf(stderr, "usage: quendril_poke wait | about | find TEXT | rect main|about\n");
    return 2;
}
