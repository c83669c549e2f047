#include "data_exchange.h"

#include "text_conversion.h"
#include "wnd.h"

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthW(control);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int got = ::GetWindowTextW(control, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(got));
        value = afx::WideToGbk(text);
    } else {
        ::SetWindowTextW(control, afx::GbkToWide(value).c_str());
    }
}
