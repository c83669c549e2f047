#pragma once
// CListBox: a list box control known by its handle; items are GBK text.

#include <string_view>

#include "wnd.h"

class CListBox : public CWnd {
public:
    CListBox() = default;
    explicit CListBox(HWND hWnd) : CWnd(hWnd) {}

    void ResetContent();
    // Adds an item at the end (the list is not sorted); its index, or -1.
    int AddString(std::string_view gbk);
    int GetCount() const;
    // The selected item, or -1 (LB_ERR) when none is.
    int GetCurSel() const;
    void SetCurSel(int nSelect);

    // Tab stops in dialog units, for items that hold tabs.
    void SetTabStops(int nEachDialogUnits);
    // Lets the list scroll sideways far enough to show its widest item.
    void FitHorizontalExtent();

    // Stops (false) or resumes (true) drawing while many items change.
    void SetRedraw(bool bRedraw);

private:
    int m_nTabStop = 0;  // dialog units; 0 for the system's default
};
