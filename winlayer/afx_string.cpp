#include "afx_string.h"

#include "text_conversion.h"
#include "win_app.h"

BOOL CString::LoadString(UINT nID) {
    // With a zero buffer length LoadStringW hands back a pointer to the
    // resource text itself, which need not be NUL-terminated.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        clear();
        return FALSE;
    }
    assign(afx::WideToGbk(std::wstring_view(text, static_cast<std::size_t>(length))));
    return TRUE;
}
