#pragma once
// CWnd: a window known by its handle. It does not own the window; dialogs are
// destroyed by the dialog manager.

#include <string>
#include <string_view>

#include "cmd_target.h"
#include "menu.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The child control with this id (an empty CWnd when there is none).
    CWnd GetDlgItem(int nID) const;

    // A modal message box owned by this window; texts are GBK.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // The window's text, GBK both ways.
    void SetWindowText(std::string_view gbk);
    std::string GetWindowText() const;

    // The window's system menu; nullptr when it has none.
    CMenu* GetSystemMenu(BOOL bRevert);

    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;

    // Puts the window in the middle of its owner, or of the screen's work area
    // when it has no visible owner.
    void CenterWindow();

    // The platform's default handling of the message being dispatched.
    LRESULT Default();

    HWND m_hWnd = nullptr;

protected:
    // The default handling of a message: DefWindowProcW for a plain window; a
    // dialog hands it to the dialog manager instead.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Sends a message through this object's message map; true when handled.
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    DECLARE_MESSAGE_MAP()

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const CurrentMessage* m_pCurrentMsg = nullptr;
    CMenu m_systemMenu;
};
