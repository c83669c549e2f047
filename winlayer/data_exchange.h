#pragma once
// Data exchange between a dialog's member strings and its controls.

#include <string>

#include "afx_win.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

// Binds control nIDC to a GBK member string.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
