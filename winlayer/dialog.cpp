#include "dialog.h"

#include "win_app.h"

namespace {

// The messages whose result a dialog procedure returns itself (the documented
// eleven, and WM_CTLCOLORMSGBOX, which the dialog manager treats like the other
// WM_CTLCOLOR messages); for every other message it stores the result in
// DWLP_MSGRESULT and returns TRUE.
constexpr UINT kDirectResultMessages[] = {
    WM_CHARTOITEM,     WM_COMPAREITEM,     WM_CTLCOLORBTN,    WM_CTLCOLORDLG,
    WM_CTLCOLOREDIT,   WM_CTLCOLORLISTBOX, WM_CTLCOLORMSGBOX, WM_CTLCOLORSCROLLBAR,
    WM_CTLCOLORSTATIC, WM_INITDIALOG,      WM_QUERYDRAGICON,  WM_VKEYTOITEM,
};

constexpr bool ReturnsResultDirectly(UINT message) {
    for (UINT direct : kDirectResultMessages) {
        if (direct == message) return true;
    }
    return false;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

thread_local CDialog* CDialog::s_pInnermost = nullptr;

// The dialog manager's modal loop runs each message it takes past the
// thread's message filters (code MSGF_DIALOGBOX) before anything else: the
// one place where a dialog can see a key meant for one of its controls.
LRESULT CALLBACK CDialog::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && s_pInnermost != nullptr && s_pInnermost->m_hWnd != nullptr) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        CDialog* dialog = s_pInnermost;
        if (msg->hwnd == dialog->m_hWnd || ::IsChild(dialog->m_hWnd, msg->hwnd)) {
            try {
                if (dialog->PreTranslateMessage(msg)) {
                    return 1;
                }
            } catch (...) {  // no exception may unwind through the window manager
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CDialog::DoModal() {
    // The filter is hooked while the first modal dialog runs; the dialogs
    // opened over it take their turn as the innermost one.
    struct Innermost {
        CDialog* dialog;
        HHOOK hook = nullptr;
        explicit Innermost(CDialog* d) : dialog(d) {
            d->m_pOuter = s_pInnermost;
            s_pInnermost = d;
            if (d->m_pOuter == nullptr) {
                hook = ::SetWindowsHookExW(WH_MSGFILTER, &CDialog::MessageFilter, nullptr,
                                           ::GetCurrentThreadId());
            }
        }
        ~Innermost() {
            if (hook != nullptr) ::UnhookWindowsHookEx(hook);
            s_pInnermost = dialog->m_pOuter;
        }
    } innermost(this);
    const INT_PTR result =
        ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), OwnerWindow(),
                          &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

// Without an explicit parent a dialog belongs to the application's main
// window, unless it is that window itself.
HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd != nullptr) {
        return m_pParentWnd->m_hWnd;
    }
    const CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this) {
        return app->m_pMainWnd->m_hWnd;
    }
    return nullptr;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr) {
        return 0;
    }
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_bDeferring};
    m_bDeferring = true;
    return ::DefDlgProcW(m_hWnd, message, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) get the default handling,
    // and so does the message a handler passed on with Default().
    if (dialog == nullptr) {
        return FALSE;
    }
    if (dialog->m_bDeferring) {
        dialog->m_bDeferring = false;
        return FALSE;
    }
    // No exception may unwind through the window manager.
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CenterWindow();
        return OnInitDialog();
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        return FALSE;
    }

    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, result)) {
        if (ReturnsResultDirectly(message)) {
            return static_cast<INT_PTR>(result);
        }
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND) {
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return TRUE;
        }
        // Commands nobody here handles go on to the application.
        if (CWinApp* app = AfxGetApp(); app != nullptr && app->OnCmdMsg(id, code, result)) {
            return TRUE;
        }
    }
    return FALSE;
}
