#pragma once
// CDialog: a modal dialog made from a dialog template resource.

#include "data_exchange.h"
#include "wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window from the template, opens it centred over its owner
    // (or the screen), runs until it is ended, destroys it and returns the end
    // code; -1 when the window could not be created.
    virtual INT_PTR DoModal();

    // Pushes the members into the controls (false) or reads them back (true).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    void EndDialog(int nResult);

    // Sees each message the dialog's modal loop takes for this dialog or its
    // controls before the dialog manager does; true when it was dealt with
    // (a key turned into a command, say) and must go no further.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    // Fills the controls from the members; returning TRUE lets the dialog
    // manager put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    // The dialog manager's default handling (DefDlgProcW), which does more
    // than DefWindowProcW: default button, focus, WM_CLOSE as IDCANCEL.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;

    // Set while DefDlgProcW runs: it first asks this dialog's procedure,
    // which must then answer FALSE so that the default handling follows.
    bool m_bDeferring = false;

    // The modal dialog opened last on this thread, and the one it opened over.
    static thread_local CDialog* s_pInnermost;
    CDialog* m_pOuter = nullptr;
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);
};
