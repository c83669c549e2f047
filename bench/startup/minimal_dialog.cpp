// The benchmark's floor: a dialog program with nothing in it but the main
// window's caption and an idiom box holding one character. Plain Win32, no
// class layer, no dictionary, no manifest: what remains of its start-up time
// is what starting any dialog program costs under this Wine.

#include <windows.h>

#include "resource.h"

namespace {

constexpr int kFloorDialog = 1;  // IDD_FLOOR in minimal_dialog.rc

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            // One character, so the benchmark sees "text shown" as it does for
            // the real program.
            ::SetDlgItemTextW(dialog, IDC_IDIOM, L"\u6210");
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, 0);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return static_cast<int>(
        ::DialogBoxParamW(instance, MAKEINTRESOURCEW(kFloorDialog), nullptr, &FloorProc, 0));
}
