#pragma once
// CString: a GBK byte string, as the core keeps its text, that can also load
// itself from the string table.

#include <string>

#include "afx_win.h"

class CString : public std::string {
public:
    using std::string::basic_string;
    CString() = default;
    CString(std::string text) : std::string(std::move(text)) {}

    // Loads string resource nID (converted to GBK); empty when there is none.
    BOOL LoadString(UINT nID);

    operator const char*() const { return c_str(); }
};
