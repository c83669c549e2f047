#include "list_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gdi.h"
#include "text_conversion.h"

void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }

int CListBox::AddString(std::string_view gbk) {
    const std::wstring text = afx::GbkToWide(gbk);
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int CListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }

int CListBox::GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }

void CListBox::SetCurSel(int nSelect) { SendMessage(LB_SETCURSEL, static_cast<WPARAM>(nSelect)); }

void CListBox::SetTabStops(int nEachDialogUnits) {
    m_nTabStop = nEachDialogUnits;
    SendMessage(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&m_nTabStop));
}

// Measures each item in the list's own font, with the tab stops in pixels as
// the list draws them (a dialog unit is a quarter of the font's average
// character width, which MapDialogRect knows).
void CListBox::FitHorizontalExtent() {
    RECT stop = {0, 0, m_nTabStop, 0};
    ::MapDialogRect(::GetParent(m_hWnd), &stop);
    int tabPixels = stop.right;
    CClientDC dc(m_hWnd);
    dc.SelectFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    int widest = 0;
    std::wstring item;
    for (int i = 0, count = GetCount(); i < count; ++i) {
        const LRESULT length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i));
        if (length <= 0) continue;
        item.assign(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        const DWORD extent =
            ::GetTabbedTextExtentW(dc, item.c_str(), static_cast<int>(length), m_nTabStop ? 1 : 0,
                                   m_nTabStop ? &tabPixels : nullptr);
        widest = std::max(widest, static_cast<int>(LOWORD(extent)));
    }
    // A little room after the last letter, as the list leaves before the first.
    SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest > 0 ? widest + 6 : 0));
}

void CListBox::SetRedraw(bool bRedraw) {
    SendMessage(WM_SETREDRAW, bRedraw ? TRUE : FALSE);
    if (bRedraw) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}
