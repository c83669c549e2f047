#include "menu.h"

#include "text_conversion.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    if (lpszNewItem == nullptr || (nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) != 0) {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, nullptr);
    }
    const std::wstring text = afx::GbkToWide(lpszNewItem);
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, text.c_str());
}
