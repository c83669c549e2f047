#include "wnd.h"

#include <string>

#include "text_conversion.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd CWnd::GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }

int CWnd::MessageBox(const char* lpszText, const char* lpszCaption, UINT nType) {
    const std::wstring text = afx::GbkToWide(lpszText ? lpszText : "");
    const std::wstring caption = afx::GbkToWide(lpszCaption ? lpszCaption : "");
    return ::MessageBoxW(m_hWnd, text.c_str(), lpszCaption ? caption.c_str() : nullptr, nType);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(std::string_view gbk) {
    ::SetWindowTextW(m_hWnd, afx::GbkToWide(gbk).c_str());
}

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(m_hWnd, text.data(), length + 1)));
    return afx::WideToGbk(text);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) {
    m_systemMenu.m_hMenu = ::GetSystemMenu(m_hWnd, bRevert);
    return m_systemMenu.m_hMenu ? &m_systemMenu : nullptr;
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

void CWnd::CenterWindow() {
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;

    RECT around = work;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &around);
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = (around.left + around.right - width) / 2;
    int top = (around.top + around.bottom - height) / 2;
    // Keep the whole window, and above all its title bar, on the screen.
    if (left + width > work.right) left = work.right - width;
    if (left < work.left) left = work.left;
    if (top + height > work.bottom) top = work.bottom - height;
    if (top < work.top) top = work.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWnd::Default() {
    if (m_pCurrentMsg == nullptr) {
        return 0;
    }
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Default() answers the message being dispatched; a handler may dispatch
    // another one inside, so the outer one comes back afterwards, also when a
    // handler throws.
    struct Restore {
        const CurrentMessage*& slot;
        const CurrentMessage* outer;
        ~Restore() { slot = outer; }
    } restore{m_pCurrentMsg, m_pCurrentMsg};
    const CurrentMessage current{message, wParam, lParam};
    m_pCurrentMsg = &current;
    return DispatchToMap(message, wParam, lParam, result);
}
