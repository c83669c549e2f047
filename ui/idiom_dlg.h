#pragma once
// The main dialog: one dictionary entry at a time, with Previous and Next.

#include <memory>

#include "afx.h"
#include "browsing.h"
#include "idiom_finder.h"

class CIdiomDlg : public CDialog, public IdiomBrowser {
public:
    explicit CIdiomDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // Ctrl+F, through the accelerator table.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The browsing state shows a new entry: push it into the controls.
    void RefreshFields() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    // Opens Find; the entry picked there is shown and browsed on from.
    void OnFindIdiom();

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()

private:
    void AddAboutToSystemMenu();
    void AddFindToSystemMenu();
    void SetDisplayFont();

    HACCEL m_hAccel = nullptr;  // a resource: freed with the module
    // Made on the first Find, not at start-up.
    std::unique_ptr<IdiomFinder> m_pFinder;
};
