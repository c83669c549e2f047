#pragma once
// CMenu: a menu known by its handle. The menus the program touches (the
// system menu) belong to their window, so this does not destroy them.

#include "afx_win.h"

class CMenu {
public:
    // Adds an item at the end; the text is GBK.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);

    HMENU GetSafeHmenu() const { return m_hMenu; }

    HMENU m_hMenu = nullptr;
};
