#pragma once
// The main dialog: one dictionary entry at a time, with Previous and Next.

#include "afx.h"
#include "browsing.h"

class CIdiomDlg : public CDialog, public IdiomBrowser {
public:
    explicit CIdiomDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The browsing state shows a new entry: push it into the controls.
    void RefreshFields() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()

private:
    void AddAboutToSystemMenu();
    void SetDisplayFont();
};
